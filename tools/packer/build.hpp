// Building an installer: the stub's image, then file and value groups in the order
// given, then the tail, written to a temporary file that takes the output's name only
// when everything was written.
#pragma once

#include "container/file_system.hpp"

#include <ostream>
#include <string>
#include <vector>

namespace tools {

// One group to store, in the order of the command line.
struct group_request {
    bool is_file = false;
    std::string name;       // value name, or the file group's name (may be empty)
    std::string text;       // the value, or the path of the file to store
    std::string file_name;  // files: the stored file name; empty means the path's base name
};

struct build_request {
    std::string stub_path;
    std::string output_path;
    std::vector<group_request> groups;
};

// The last component of a path, after its last '/' or '\'.
std::string base_name(const std::string& path);

// Builds the installer. Refuses, with a message on `err` and nothing written, a stub
// that already holds a container or carries an Authenticode signature, stored file names
// that are not plain, duplicate names, unreadable inputs and a result of 4 GiB or more.
// The same request gives the same bytes. Returns whether the installer was written.
bool build_installer(const build_request& request, container::file_system& files, std::ostream& err,
                     bool show_progress);

}  // namespace tools
