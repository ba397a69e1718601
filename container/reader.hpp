// Reads the container out of the installer's own file and unpacks it.
#pragma once

#include "container/value_table.hpp"
#include "support/report/reporter.hpp"

#include <string>

namespace container {

// What one extraction works on and leaves behind.
struct extraction {
    replay::reporter& reporter;     // failures the user must see; silence is the reporter's business
    std::string working_directory;  // destination of every stored file, ends with a separator
    value_table& values;            // gains the stored values and file names
    bool archive_valid = false;     // true once the tail record verified, false after a bad digest
};

// Reads the container of the file at `path` into `run`. Reports its own failures and
// throws nothing on its own account (an allocation failure propagates).
void extract_container(const std::string& path, extraction& run);

}  // namespace container
