// Runs the packer's commands in-process on the system's files, and the files and
// folders the tool's tests work with.
#pragma once

#include "container/file_system.hpp"
#include "tools/packer/packer.hpp"

#include <gtest/gtest.h>

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

// An empty folder of the test's own under GoogleTest's temporary folder, named after
// `prefix` and the running test; whatever an earlier run left there is removed first.
inline std::filesystem::path fresh_test_folder(const std::string& prefix) {
    const std::filesystem::path folder =
        std::filesystem::path(testing::TempDir()) /
        (prefix + testing::UnitTest::GetInstance()->current_test_info()->name());
    std::filesystem::remove_all(folder);
    std::filesystem::create_directories(folder);
    return folder;
}

inline std::string read_file(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

inline void write_file(const std::filesystem::path& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

}  // namespace testing_support
