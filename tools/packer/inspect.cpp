// The tolerant walk behind list and verify: it reads the records exactly where Reader.exe
// would, but goes on past a digest mismatch, so a listing shows every group it can find.
#include "tools/packer/inspect.hpp"

#include "container/record_format.hpp"
#include "container/record_reader.hpp"
#include "container/stored_file_name.hpp"
#include "support/text/system_error_text.hpp"

#include <algorithm>

namespace tools {

namespace format = container::record_format;

bool listing::complete() const { return problems().empty(); }

std::vector<std::string> listing::problems() const {
    std::vector<std::string> reasons;
    if (!stopped.empty())
        reasons.push_back(stopped);
    // The tail text that the search found may end some other record; Reader.exe then reads
    // that record as a kind and never marks the archive valid.
    const bool tail_read = std::any_of(groups.begin(), groups.end(), [](const listed_group& g) { return g.kind == "tail"; });
    if (tail_found && !tail_read)
        reasons.push_back("no record read on the way is a tail record: Reader.exe would find the archive invalid");
    for (const listed_group& group : groups) {
        const std::string which = group.kind == "tail" ? "the tail record" : group.kind + " group \"" + group.name + "\"";
        if (!group.verified)
            reasons.push_back(which + ": digest mismatch");
        if (group.kind == format::file_kind && !container::is_plain_file_name(group.file_name))
            reasons.push_back(which + ": stored file name \"" + group.file_name + "\" is not a plain file name");
    }
    return reasons;
}

namespace {

class walker {
public:
    walker(container::file& source, std::uint64_t size, const std::function<void(std::uint64_t)>& on_bytes,
           listing& result)
        : chain_{source, size, 0}, on_bytes_(on_bytes), result_(result) {}

    void walk(std::uint64_t tail) {
        chain_.position = tail + format::tail_record_size;
        for (;;) {
            listed_group group;
            std::string kind;
            if (!read_text(group, kind, "kind"))
                return;
            if (kind == format::tail_text) {
                group.kind = "tail";
                group.size = kind.size();
                result_.groups.push_back(group);
                continue;
            }
            group.kind = kind;
            const bool read = read_text(group, group.name, "name") && read_content(group);
            result_.groups.push_back(group);
            if (!read)
                return;
            if (kind == format::stub_kind) {
                result_.reached_stub = true;
                return;
            }
        }
    }

private:
    bool read_content(listed_group& group) {
        if (group.kind == format::value_kind) {
            std::string value;
            if (!read_text(group, value, "value"))
                return false;
            group.size = value.size();
        } else if (group.kind == format::file_kind) {
            if (!read_text(group, group.file_name, "file name"))
                return false;
            const container::record_result data = container::read_record_data(
                chain_, [this](const char*, std::size_t count) {
                    on_bytes_(count);
                    return true;
                });
            if (!count(group, data, "data"))
                return false;
            group.size = data.length;
        }
        return true;
    }

    bool read_text(listed_group& group, std::string& text, const char* what) {
        return count(group, container::read_record_text(chain_, text), what);
    }

    bool count(listed_group& group, const container::record_result& record, const char* what) {
        if (record.status == container::record_status::unreadable) {
            result_.stopped = std::string("the ") + what + " record ending at offset " +
                              std::to_string(chain_.position) +
                              " cannot be read (its length reaches outside the file, or a read failed)";
            return false;
        }
        ++group.records;
        ++result_.records_read;
        if (record.status == container::record_status::read)
            ++result_.records_verified;
        else
            group.verified = false;
        return true;
    }

    container::chain_position chain_;
    const std::function<void(std::uint64_t)>& on_bytes_;
    listing& result_;
};

}  // namespace

listing inspect_installer(container::file_system& files, const std::string& path,
                          const std::function<void(std::uint64_t)>& on_bytes) {
    listing result;
    const std::unique_ptr<container::file> source = files.open_read(path);
    std::uint64_t size = 0;
    if (!source || !source->size(size)) {
        const std::uint32_t code = source ? source->error() : files.error();
        result.stopped = "cannot read \"" + path + "\": " + replay::system_error_text(code);
        return result;
    }
    std::uint64_t tail = 0;
    if (!container::find_tail(*source, size, tail)) {
        result.stopped = "no tail record found: this file holds no container";
        return result;
    }
    result.tail_found = true;
    walker(*source, size, on_bytes, result).walk(tail);
    return result;
}

}  // namespace tools
