// The installer builder: checks every input first, then streams the records into a
// temporary file and renames it into place.
#include "tools/packer/build.hpp"

#include "container/md5.hpp"
#include "container/record_format.hpp"
#include "container/record_reader.hpp"
#include "container/stored_file_name.hpp"
#include "support/text/strings.hpp"
#include "support/text/system_error_text.hpp"
#include "tools/packer/progress.hpp"
#include "tools/packer/stub_checks.hpp"

#include <map>
#include <memory>
#include <set>

namespace tools {

namespace format = container::record_format;

std::string base_name(const std::string& path) {
    const std::size_t separator = path.find_last_of("/\\");
    return separator == std::string::npos ? path : path.substr(separator + 1);
}

namespace {

// An input file opened and measured before anything is written.
struct input {
    std::string path;
    std::unique_ptr<container::file> file;
    std::uint64_t size = 0;
};

std::string quoted(const std::string& text) { return "\"" + text + "\""; }

class builder {
public:
    builder(const build_request& request, container::file_system& files, std::ostream& err, bool show_progress)
        : request_(request), files_(files), err_(err), show_progress_(show_progress) {}

    bool run() {
        if (!open_inputs() || !check_stub() || !check_names() || !check_size())
            return false;
        return write();
    }

private:
    bool refuse(const std::string& message) {
        err_ << "packer: " << message << '\n';
        return false;
    }

    bool open_input(const std::string& path, input& in) {
        in.path = path;
        in.file = files_.open_read(path);
        if (!in.file)
            return refuse("cannot read " + quoted(path) + ": " + replay::system_error_text(files_.error()));
        if (!in.file->size(in.size))
            return refuse("cannot read " + quoted(path) + ": " + replay::system_error_text(in.file->error()));
        if (in.size > format::max_data_length)
            return refuse(quoted(path) + " is larger than a record can hold (" +
                          std::to_string(format::max_data_length) + " bytes)");
        return true;
    }

    bool open_inputs() {
        if (!open_input(request_.stub_path, stub_))
            return false;
        for (const group_request& group : request_.groups) {
            inputs_.emplace_back();
            if (group.is_file && !open_input(group.text, inputs_.back()))
                return false;
        }
        return true;
    }

    bool check_stub() {
        const check_result container = holds_tail_record(*stub_.file, stub_.size);
        const check_result signature = has_authenticode_signature(*stub_.file, stub_.size);
        if (container == check_result::unreadable || signature == check_result::unreadable)
            return refuse("cannot read " + quoted(stub_.path) + ": " +
                          replay::system_error_text(stub_.file->error()));
        if (container == check_result::yes)
            return refuse("the stub " + quoted(stub_.path) +
                          " already holds a container; build from the plain Reader.exe");
        if (signature == check_result::yes)
            return refuse("the stub " + quoted(stub_.path) +
                          " carries an Authenticode signature; build first, then sign the installer");
        return true;
    }

    bool check_names() {
        std::set<std::string> names;
        std::map<std::string, std::string> file_names;  // upper-cased: Windows file names ignore case
        for (const group_request& group : request_.groups) {
            if (group.is_file) {
                const std::string file_name = stored_name(group);
                if (!container::is_plain_file_name(file_name))
                    return refuse("stored file name " + quoted(file_name) +
                                  " is not a plain file name (no folders, drive, colon, wildcard or device name)");
                const auto known = file_names.emplace(replay::upper_copy(file_name), file_name);
                if (!known.second)
                    return refuse("stored file name " + quoted(file_name) + " is given twice (as " +
                                  quoted(known.first->second) + " before)");
                if (group.name.empty())
                    continue;
            }
            if (!names.insert(group.name).second)
                return refuse("name " + quoted(group.name) + " is given twice");
            if (!group.is_file && (group.name == "source" || group.name == "commandline"))
                err_ << "packer: warning: Reader.exe sets " << quoted(group.name)
                     << " itself; the stored value has no effect\n";
        }
        return true;
    }

    std::string stored_name(const group_request& group) const {
        return group.file_name.empty() ? base_name(group.text) : group.file_name;
    }

    static std::uint64_t record_size(std::uint64_t data) { return data + format::trailer_size; }

    bool check_size() {
        total_ = record_size(stub_.size) + record_size(format::stub_file_name.size()) +
                 record_size(format::stub_name.size()) + record_size(format::stub_kind.size());
        for (std::size_t k = 0; k < request_.groups.size(); ++k) {
            const group_request& group = request_.groups[k];
            if (group.is_file)
                total_ += record_size(inputs_[k].size) + record_size(stored_name(group).size()) +
                          record_size(format::file_kind.size());
            else
                total_ += record_size(group.text.size()) + record_size(format::value_kind.size());
            total_ += record_size(group.name.size());
        }
        total_ += format::tail_record_size;
        if (total_ > format::max_file_size)
            return refuse("the installer would be " + std::to_string(total_) +
                          " bytes; it must stay below 4 GiB");
        return true;
    }

    bool write() {
        const std::string temporary = request_.output_path + ".partial";
        out_ = files_.create(temporary, container::create_mode::replace);
        if (!out_)
            return refuse("cannot create " + quoted(temporary) + ": " + replay::system_error_text(files_.error()));
        progress meter(err_, show_progress_, "packer: building", total_);
        meter_ = &meter;
        const bool written = write_records() && close_output();
        meter.finish();
        out_.reset();
        if (written && files_.rename(temporary, request_.output_path))
            return true;
        if (written)
            refuse("cannot rename " + quoted(temporary) + " to " + quoted(request_.output_path) + ": " +
                   replay::system_error_text(files_.error()));
        files_.remove(temporary);
        return false;
    }

    bool write_records() {
        if (!write_streamed(stub_) || !write_record(format::stub_file_name) || !write_record(format::stub_name) ||
            !write_record(format::stub_kind))
            return false;
        for (std::size_t k = 0; k < request_.groups.size(); ++k) {
            const group_request& group = request_.groups[k];
            const bool written =
                group.is_file ? write_streamed(inputs_[k]) && write_record(stored_name(group)) &&
                                    write_record(group.name) && write_record(format::file_kind)
                              : write_record(group.text) && write_record(group.name) &&
                                    write_record(format::value_kind);
            if (!written)
                return false;
        }
        return write_record(format::tail_text);
    }

    bool write_bytes(const char* bytes, std::size_t count) {
        if (!out_->write(bytes, count))
            return refuse("cannot write the installer: " + replay::system_error_text(out_->error()));
        meter_->advance(count);
        return true;
    }

    bool write_record(std::string_view data) {
        const std::string record = format::make_record(data);
        return write_bytes(record.data(), record.size());
    }

    // Copies an input file as one record's data, hashing it on the way.
    bool write_streamed(input& in) {
        if (!in.file->seek(0))
            return refuse("cannot read " + quoted(in.path) + ": " + replay::system_error_text(in.file->error()));
        container::md5 hash;
        std::string buffer(std::min<std::uint64_t>(in.size, container::chunk_size), '\0');
        for (std::uint64_t left = in.size; left > 0;) {
            const std::size_t piece = static_cast<std::size_t>(std::min<std::uint64_t>(left, buffer.size()));
            if (!in.file->read(buffer.data(), piece))
                return refuse("cannot read " + quoted(in.path) + " (did it change while being stored?): " +
                              replay::system_error_text(in.file->error()));
            hash.update(buffer.data(), piece);
            if (!write_bytes(buffer.data(), piece))
                return false;
            left -= piece;
        }
        const std::string trailer = format::record_trailer(static_cast<std::uint32_t>(in.size), hash.digest());
        return write_bytes(trailer.data(), trailer.size());
    }

    bool close_output() {
        if (!out_->close())
            return refuse("cannot write the installer: " + replay::system_error_text(out_->error()));
        return true;
    }

    const build_request& request_;
    container::file_system& files_;
    std::ostream& err_;
    bool show_progress_;
    input stub_;
    std::vector<input> inputs_;  // one per group; only file groups open theirs
    std::uint64_t total_ = 0;
    std::unique_ptr<container::file> out_;
    progress* meter_ = nullptr;
};

}  // namespace

bool build_installer(const build_request& request, container::file_system& files, std::ostream& err,
                     bool show_progress) {
    return builder(request, files, err, show_progress).run();
}

}  // namespace tools
