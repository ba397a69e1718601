// The container reader: finds the tail record behind the installer's image, walks the
// groups back to the stub group with every record verified, fills the value table and
// writes the stored files into the working directory.
#include "container/reader.hpp"

#include "container/messages.hpp"
#include "container/record_format.hpp"
#include "container/stored_file_name.hpp"
#include "support/text/system_error_text.hpp"

namespace container {

namespace format = record_format;

namespace {

constexpr const char* open_failed_caption = "Failed to open archive!";
constexpr const char* no_tail_caption = "Failed to initialize archive!";
constexpr const char* extract_failed_caption = "Failed to extract file!";

// How many names a file's temporary copy tries before giving up; each is taken only when
// no file of that name exists, so no stored file is ever overwritten by one.
constexpr int temporary_name_attempts = 16;

void report_file_error(extraction& run, const char* caption, const std::string& path, std::uint32_t code) {
    run.reporter.report(caption, "File: " + path + "\rError: " + replay::system_error_text(code));
}

// Reads the groups of one container, from the record after the tail towards the stub.
class group_reader {
public:
    group_reader(file_system& files, chain_position& chain, extraction& run) : files_(files), chain_(chain), run_(run) {}

    void read_groups() {
        for (;;) {
            std::string kind;
            if (!read_record(chain_, kind, run_))
                return;
            if (kind == format::tail_text) {
                run_.archive_valid = true;
                continue;
            }
            std::string name;
            if (!read_record(chain_, name, run_))
                return;
            if (kind == format::value_kind) {
                std::string value;
                if (!read_record(chain_, value, run_))
                    return;
                run_.values.add(name, value);
            } else if (kind == format::file_kind) {
                if (!extract_file(name))
                    return;
            } else if (kind == format::stub_kind) {
                run_.complete = true;
                return;
            }
            // Any other kind: its name was its second record; the next record is a kind.
        }
    }

private:
    // Reads a file group's file name and data. The data goes to a temporary file in the
    // working directory, which takes the stored name only after the digest matched, so a
    // damaged or cut-off payload never stands on disk under its own name.
    bool extract_file(const std::string& name) {
        std::string file_name;
        if (!read_record(chain_, file_name, run_))
            return false;
        const std::string target = run_.working_directory + file_name;

        std::string temporary;
        std::unique_ptr<file> out = create_temporary(temporary);
        if (!out) {
            report_file_error(run_, extract_failed_caption, target, files_.error());
            return false;
        }
        bool write_failed = false;
        std::uint32_t write_error = 0;
        const record_result data = read_record_data(chain_, [&](const char* bytes, std::size_t count) {
            if (out->write(bytes, count))
                return true;
            write_failed = true;
            write_error = out->error();
            return false;
        });
        // Writes may be completed only when the file is closed; that failure counts too.
        if (data.status == record_status::read && !out->close()) {
            write_failed = true;
            write_error = out->error();
        }
        out.reset();

        if (data.status != record_status::read || write_failed) {
            // A partial or unverified copy never stays behind.
            files_.remove(temporary);
            if (data.status == record_status::damaged)
                report_damaged();
            else if (write_failed)
                report_file_error(run_, extract_failed_caption, target, write_error);
            return false;
        }

        // A name that could reach outside the working directory is refused before it is
        // used anywhere, also as a value.
        if (!is_plain_file_name(file_name)) {
            files_.remove(temporary);
            report_file_error(run_, extract_failed_caption, target, files_.invalid_name_error());
            return false;
        }
        if (!name.empty())
            run_.values.add(name, file_name);
        // A later group of the same file name replaces an earlier one, as it would by
        // creating the file anew; our own hold must not stop that.
        run_.held_files.erase(target);
        if (!files_.rename(temporary, target)) {
            const std::uint32_t code = files_.error();
            files_.remove(temporary);
            report_file_error(run_, extract_failed_caption, target, code);
            return false;
        }
        if (run_.hold_files && !hold(target))
            return false;
        run_.written_files.push_back(target);
        return true;
    }

    std::unique_ptr<file> create_temporary(std::string& path) {
        std::unique_ptr<file> created;
        for (int attempt = 0; attempt < temporary_name_attempts && !created; ++attempt) {
            path = run_.working_directory + "~extracting" + std::to_string(attempt) + ".tmp";
            created = files_.create(path, create_mode::new_only);
        }
        return created;
    }

    // Keeps the verified file open so that it stays what was verified until the launch.
    // A file that cannot be held may already be open for writing elsewhere: it is not
    // trusted and is removed if possible.
    bool hold(const std::string& target) {
        std::unique_ptr<file> held = files_.open_read(target);
        if (!held) {
            const std::uint32_t code = files_.error();
            files_.remove(target);
            report_file_error(run_, extract_failed_caption, target, code);
            return false;
        }
        run_.held_files[target] = std::move(held);
        return true;
    }

    void report_damaged() {
        run_.reporter.report(invalid_archive_caption, invalid_archive_text);
        run_.archive_valid = false;
    }

    file_system& files_;
    chain_position& chain_;
    extraction& run_;
};

}  // namespace

bool read_record(chain_position& chain, std::string& data, extraction& run) {
    const record_result result = read_record_text(chain, data);
    if (result.status == record_status::damaged) {
        run.reporter.report(invalid_archive_caption, invalid_archive_text);
        run.archive_valid = false;
    }
    return result.status == record_status::read;
}

void extract_container(file_system& files, const std::string& path, extraction& run) {
    const std::unique_ptr<file> source = files.open_read(path);
    if (!source) {
        report_file_error(run, open_failed_caption, path, files.error());
        return;
    }
    chain_position chain{*source};
    std::uint64_t tail = 0;
    if (!source->size(chain.size) || !find_tail(*source, chain.size, tail)) {
        report_file_error(run, no_tail_caption, path, source->error());
        return;
    }
    chain.position = tail + format::tail_record_size;
    group_reader(files, chain, run).read_groups();
}

void extract_container(const std::string& path, extraction& run) {
    extract_container(native_file_system(), path, run);
}

}  // namespace container
