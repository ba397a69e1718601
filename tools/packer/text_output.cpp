// Printing listings as a table or as JSON, and reader messages as text lines.
#include "tools/packer/text_output.hpp"

#include <algorithm>
#include <cstdio>
#include <vector>

namespace tools {

namespace {

std::string hex_escape(const char* prefix, unsigned char byte, int digits) {
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "%s%0*x", prefix, digits, byte);
    return buffer;
}

}  // namespace

std::string printable(const std::string& text) {
    std::string result;
    for (unsigned char c : text)
        result += c < 32 || c == 127 ? hex_escape("\\x", c, 2) : std::string(1, static_cast<char>(c));
    return result;
}

std::string json_string(const std::string& text) {
    std::string result = "\"";
    for (unsigned char c : text) {
        if (c == '"' || c == '\\')
            result += {'\\', static_cast<char>(c)};
        else if (c < 32 || c >= 127)
            result += hex_escape("\\u", c, 4);
        else
            result += static_cast<char>(c);
    }
    return result + "\"";
}

void print_listing(std::ostream& out, const listing& result) {
    std::vector<std::vector<std::string>> rows = {{"kind", "name", "file name", "size", "digest"}};
    for (const listed_group& group : result.groups)
        rows.push_back({printable(group.kind), printable(group.name), printable(group.file_name),
                        group.kind == "stub" ? "-" : std::to_string(group.size),
                        group.verified ? "ok" : "MISMATCH"});
    std::vector<std::size_t> widths(rows[0].size(), 0);
    for (const auto& row : rows)
        for (std::size_t column = 0; column < row.size(); ++column)
            widths[column] = std::max(widths[column], row[column].size());
    for (const auto& row : rows) {
        std::string line;
        for (std::size_t column = 0; column < row.size(); ++column) {
            line += row[column];
            if (column + 1 < row.size())
                line += std::string(widths[column] - row[column].size() + 2, ' ');
        }
        out << line << '\n';
    }
    out << result.records_read << " records read, " << result.records_verified << " verified";
    if (result.complete())
        out << ": the container reads completely\n";
    else
        out << ": the container does not read completely\n";
    for (const std::string& problem : result.problems())
        out << "  " << printable(problem) << '\n';
}

void print_listing_json(std::ostream& out, const std::string& path, const listing& result) {
    out << "{\"installer\": " << json_string(path) << ", \"complete\": " << (result.complete() ? "true" : "false")
        << ", \"tail_found\": " << (result.tail_found ? "true" : "false")
        << ", \"records_read\": " << result.records_read << ", \"records_verified\": " << result.records_verified
        << ", \"groups\": [";
    for (std::size_t k = 0; k < result.groups.size(); ++k) {
        const listed_group& group = result.groups[k];
        out << (k ? ", " : "") << "{\"kind\": " << json_string(group.kind);
        if (group.kind != "tail")
            out << ", \"name\": " << json_string(group.name);
        if (group.kind == "file")
            out << ", \"file_name\": " << json_string(group.file_name);
        if (group.kind != "stub")
            out << ", \"size\": " << group.size;
        out << ", \"records\": " << group.records << ", \"digest_ok\": " << (group.verified ? "true" : "false")
            << "}";
    }
    out << "], \"problems\": [";
    const std::vector<std::string> problems = result.problems();
    for (std::size_t k = 0; k < problems.size(); ++k)
        out << (k ? ", " : "") << json_string(problems[k]);
    out << "]}\n";
}

void stream_reporter::report(const std::string& caption, const std::string& text) {
    // Message texts break lines with "\r", "\n" or "\r\n"; each break starts an indented line.
    std::string body;
    for (std::size_t k = 0; k < text.size(); ++k) {
        if (text[k] == '\n' && k > 0 && text[k - 1] == '\r')
            continue;
        body += text[k] == '\r' || text[k] == '\n' ? std::string("\n    ") : std::string(1, text[k]);
    }
    out_ << "packer: " << caption << "\n    " << body << '\n';
}

}  // namespace tools
