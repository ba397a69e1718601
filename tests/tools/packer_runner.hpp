// Runs the packer's commands in-process on the system's files, for the tool's tests.
#pragma once

#include "container/file_system.hpp"
#include "tools/packer/packer.hpp"

#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

namespace testing_support {

struct command_result {
    int status;
    std::string out;
    std::string err;
};

inline command_result packer(const std::vector<std::string>& args) {
    std::ostringstream out, err;
    tools::tool_context context{out, err, container::native_file_system(), false};
    const int status = tools::run_packer(args, context);
    return {status, out.str(), err.str()};
}

inline std::string read_file(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

inline void write_file(const std::filesystem::path& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

}  // namespace testing_support
