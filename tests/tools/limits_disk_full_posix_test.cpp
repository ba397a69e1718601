// The tool on a full disk: extracting and building into a 1 MiB tmpfs that the test
// mounts in a mount namespace of its own. Each ends with a clear message and leaves
// nothing half-written. Skipped where the process may not mount file systems.
#include "container/file_system.hpp"
#include "support/text/system_error_text.hpp"
#include "tests/tools/packer_runner.hpp"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>
#include <sched.h>
#include <sys/mount.h>

namespace {

namespace fs = std::filesystem;

using testing_support::command_result;
using testing_support::packer;
using testing_support::write_file;

std::set<std::string> names_in(const fs::path& folder) {
    std::set<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder))
        names.insert(entry.path().filename().string());
    return names;
}

class disk_full : public testing::Test {
protected:
    void SetUp() override {
        folder_ = testing_support::fresh_test_folder("disk_full_");
        fs::create_directories(folder_ / "full");
        // A mount namespace of this process only: nobody else sees the small disk, and it
        // goes away with the process whatever happens to the test.
        if (::unshare(CLONE_NEWNS) != 0 || ::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0 ||
            ::mount("tmpfs", full().c_str(), "tmpfs", 0, "size=1m") != 0)
            GTEST_SKIP() << "cannot mount a small tmpfs here: " << std::strerror(errno);
        mounted_ = true;

        // A payload twice the size of the disk, and a small file that fits.
        payload_.assign(2 << 20, '\0');
        for (std::size_t k = 0; k < payload_.size(); ++k)
            payload_[k] = static_cast<char>(k % 251);
        write_file(folder_ / "Reader.exe", "MZ stub holding the constant chunked-installer-tail");
        write_file(folder_ / "QZVPROSetup.exe", payload_);
        write_file(folder_ / "readme.txt", std::string(10000, 'r'));
    }

    void TearDown() override {
        if (mounted_)
            ::umount2(full().c_str(), MNT_DETACH);
        fs::remove_all(folder_);
    }

    std::string at(const std::string& name) const { return (folder_ / name).string(); }
    std::string full() const { return (folder_ / "full").string(); }
    std::string no_space() const { return replay::system_error_text(ENOSPC); }

    fs::path folder_;
    bool mounted_ = false;
    std::string payload_;
};

TEST_F(disk_full, extraction_reports_the_file_and_keeps_only_whole_files) {
    // The payload group comes first in the file, so the small file is read and written first.
    ASSERT_EQ(packer({"build", "--stub", at("Reader.exe"), "--output", at("installer.exe"), "--file",
                      "installer32=" + at("QZVPROSetup.exe"), "--file", "notes=" + at("readme.txt"), "--value",
                      "executable32=%installer32%"})
                  .status,
              tools::status_ok);

    const command_result result = packer({"extract", at("installer.exe"), full()});
    EXPECT_EQ(result.status, tools::status_failed);
    const std::string target = (fs::path(full()) / "QZVPROSetup.exe").string();
    EXPECT_NE(result.err.find("packer: Failed to extract file!\n    File: " + target + "\n    Error: " + no_space()),
              std::string::npos)
        << result.err;
    EXPECT_NE(result.err.find("the container was not read completely"), std::string::npos) << result.err;
    EXPECT_EQ(result.out, (fs::path(full()) / "readme.txt").string() + "\n");
    EXPECT_EQ(names_in(full()), std::set<std::string>{"readme.txt"}) << "no partial or temporary file stays";
    EXPECT_EQ(fs::file_size(fs::path(full()) / "readme.txt"), 10000u);
}

TEST_F(disk_full, building_reports_the_full_disk_and_leaves_no_output) {
    const std::string output = (fs::path(full()) / "installer.exe").string();
    const command_result result = packer({"build", "--stub", at("Reader.exe"), "--output", output, "--file",
                                          "installer32=" + at("QZVPROSetup.exe")});
    EXPECT_EQ(result.status, tools::status_failed);
    EXPECT_EQ(result.err, "packer: cannot write the installer: " + no_space() + "\n");
    EXPECT_TRUE(names_in(full()).empty()) << "neither the installer nor its partial file stays";
}

}  // namespace
