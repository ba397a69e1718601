// Command-line handling of the installer tool and the list, verify and extract commands.
#include "tools/packer/packer.hpp"

#include "container/reader.hpp"
#include "tools/packer/build.hpp"
#include "tools/packer/help_texts.hpp"
#include "tools/packer/inspect.hpp"
#include "tools/packer/progress.hpp"
#include "tools/packer/progress_files.hpp"
#include "tools/packer/text_output.hpp"

#include <filesystem>
#include <map>
#include <system_error>

namespace tools {

namespace {

using arguments = std::vector<std::string>;

int usage_error(tool_context& context, const std::string& message, const char* help_text) {
    context.err << "packer: " << message << "\n\n" << help_text;
    return status_usage;
}

bool wants_help(const arguments& args) {
    for (const std::string& arg : args)
        if (arg == "--help" || arg == "-h")
            return true;
    return false;
}

// Splits "NAME=REST" at its first '='.
bool split_assignment(const std::string& text, std::string& name, std::string& rest) {
    const std::size_t equals = text.find('=');
    if (equals == std::string::npos)
        return false;
    name = text.substr(0, equals);
    rest = text.substr(equals + 1);
    return true;
}

int build_command(const arguments& args, tool_context& context) {
    build_request request;
    bool last_is_file_without_as = false;
    for (std::size_t k = 0; k < args.size(); ++k) {
        const std::string& option = args[k];
        if (option == "--help" || option == "-h") {
            context.out << help::build;
            return status_ok;
        }
        if (k + 1 >= args.size())
            return usage_error(context, "\"" + option + "\" needs a value or is not an option", help::build);
        const std::string& value = args[++k];
        if (option == "--stub") {
            request.stub_path = value;
        } else if (option == "--output" || option == "-o") {
            request.output_path = value;
        } else if (option == "--file" || option == "--value") {
            group_request group;
            group.is_file = option == "--file";
            if (!split_assignment(value, group.name, group.text))
                return usage_error(context, option + " takes NAME=" + (group.is_file ? "PATH" : "TEXT"), help::build);
            if (group.is_file && group.text.empty())
                return usage_error(context, "--file " + value + " names no file", help::build);
            request.groups.push_back(group);
            last_is_file_without_as = group.is_file;
            continue;
        } else if (option == "--as") {
            if (!last_is_file_without_as)
                return usage_error(context, "--as must follow a --file", help::build);
            request.groups.back().file_name = value;
        } else {
            return usage_error(context, "unknown option \"" + option + "\"", help::build);
        }
        last_is_file_without_as = false;
    }
    if (request.stub_path.empty() || request.output_path.empty())
        return usage_error(context, "build needs --stub and --output", help::build);
    return build_installer(request, context.files, context.err, context.terminal) ? status_ok : status_failed;
}

// Installer size for the progress display; 0 when it cannot be had (then none is shown).
std::uint64_t size_of(container::file_system& files, const std::string& path) {
    std::uint64_t size = 0;
    const auto file = files.open_read(path);
    return file && file->size(size) ? size : 0;
}

listing inspect_with_progress(const std::string& path, tool_context& context, const char* label) {
    progress meter(context.err, context.terminal, label, size_of(context.files, path));
    return inspect_installer(context.files, path, [&meter](std::uint64_t bytes) { meter.advance(bytes); });
}

int list_command(const arguments& args, tool_context& context) {
    bool json = false;
    std::string path;
    for (const std::string& arg : args) {
        if (arg == "--json")
            json = true;
        else if (path.empty() && arg.rfind("-", 0) != 0)
            path = arg;
        else
            return usage_error(context, "unexpected \"" + arg + "\"", help::list);
    }
    if (path.empty())
        return usage_error(context, "list needs an installer", help::list);
    const listing result = inspect_with_progress(path, context, "packer: reading");
    if (json)
        print_listing_json(context.out, path, result);
    else
        print_listing(context.out, result);
    return result.complete() ? status_ok : status_failed;
}

int verify_command(const arguments& args, tool_context& context) {
    if (args.size() != 1 || args[0].rfind("-", 0) == 0)
        return usage_error(context, "verify takes one installer", help::verify);
    const listing result = inspect_with_progress(args[0], context, "packer: verifying");
    if (result.complete()) {
        context.out << args[0] << ": " << result.records_verified << " records verified, the container reads completely\n";
        return status_ok;
    }
    context.err << "packer: " << args[0] << " does not read completely:\n";
    for (const std::string& problem : result.problems())
        context.err << "  " << printable(problem) << '\n';
    return status_failed;
}

int extract_command(const arguments& args, tool_context& context) {
    if (args.size() != 2 || args[0].rfind("-", 0) == 0 || args[1].rfind("-", 0) == 0)
        return usage_error(context, "extract takes an installer and a folder", help::extract);
    const std::string& path = args[0];
    std::string directory = args[1];
    std::error_code failure;
    std::filesystem::create_directories(directory, failure);
    if (failure) {
        context.err << "packer: cannot create \"" << directory << "\": " << failure.message() << '\n';
        return status_failed;
    }
    if (directory.back() != '/' && directory.back() != '\\')
        directory += static_cast<char>(std::filesystem::path::preferred_separator);

    stream_reporter reporter(context.err);
    container::value_table values;
    container::extraction run{reporter, directory, values};
    {
        progress meter(context.err, context.terminal, "packer: extracting", size_of(context.files, path));
        progress_files files(context.files, meter);
        container::extract_container(files, path, run);
    }
    for (const std::string& written : run.written_files)
        context.out << printable(written) << '\n';
    if (run.archive_valid && run.complete)
        return status_ok;
    context.err << "packer: " << path << ": the container was not read completely\n";
    return status_failed;
}

}  // namespace

int run_packer(const arguments& args, tool_context& context) {
    if (args.empty())
        return usage_error(context, "no command given", help::general);
    const std::string& command = args[0];
    const arguments rest(args.begin() + 1, args.end());
    static const std::map<std::string, std::pair<int (*)(const arguments&, tool_context&), const char*>> commands = {
        {"build", {build_command, help::build}},
        {"list", {list_command, help::list}},
        {"verify", {verify_command, help::verify}},
        {"extract", {extract_command, help::extract}},
    };
    if (command == "--help" || command == "-h" || command == "help") {
        const auto topic = rest.empty() ? commands.end() : commands.find(rest[0]);
        context.out << (topic == commands.end() ? help::general : topic->second.second);
        return status_ok;
    }
    const auto found = commands.find(command);
    if (found == commands.end())
        return usage_error(context, "unknown command \"" + command + "\"", help::general);
    // Build takes free texts as option values, so it looks for --help itself.
    if (command != "build" && wants_help(rest)) {
        context.out << found->second.second;
        return status_ok;
    }
    return found->second.first(rest, context);
}

}  // namespace tools
