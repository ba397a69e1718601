// Reads the container out of the installer's own file and unpacks it.
#pragma once

#include "container/file_system.hpp"
#include "container/record_reader.hpp"
#include "container/value_table.hpp"
#include "support/report/reporter.hpp"

#include <map>
#include <memory>
#include <string>
#include <vector>

namespace container {

// What one extraction works on and leaves behind.
struct extraction {
    replay::reporter& reporter;     // failures the user must see; silence is the reporter's business
    std::string working_directory;  // destination of every stored file, ends with a separator
    value_table& values;            // gains the stored values and file names
    bool archive_valid = false;     // true once the tail record verified, false after a bad digest
    bool complete = false;          // true when reading ended at the stub group: nothing was left unread
    std::vector<std::string> written_files{};  // full paths of the stored files written, in reading order

    // When set, every stored file stays open once it is written and verified, shared for
    // reading only, so that nobody can replace or delete it before it is launched.
    bool hold_files = false;
    std::map<std::string, std::unique_ptr<file>> held_files{};  // by full path

    // Closes the held files; the working directory can be removed only after this.
    void release_files() { held_files.clear(); }
};

// Reads the container of the file at `path` into `run`, with the system's files.
// Reports its own failures and throws nothing on its own account (an allocation
// failure propagates).
void extract_container(const std::string& path, extraction& run);

// The same on the files of `files`.
void extract_container(file_system& files, const std::string& path, extraction& run);

// Reads the record that ends at chain.position into `data` (which the caller passes
// empty) and leaves the position at the record's first byte. A digest mismatch is
// reported as an invalid archive and clears run.archive_valid; a failed move or read
// returns false without a message.
bool read_record(chain_position& chain, std::string& data, extraction& run);

}  // namespace container
