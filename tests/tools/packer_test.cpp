// The packer commands end to end on the system's files: build, list, verify and extract
// of one installer, damage found by verify and extract, help and usage errors.
#include "container/file_system.hpp"
#include "tests/tools/packer_runner.hpp"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

namespace {

namespace fs = std::filesystem;

using testing_support::command_result;
using testing_support::packer;
using testing_support::read_file;
using testing_support::write_file;

class packer_files : public testing::Test {
protected:
    void SetUp() override {
        folder_ = testing_support::fresh_test_folder("packer_");
        write_file(at("Reader.exe"), "MZ stub holding the constant chunked-installer-tail");
        payload_ = std::string(300000, 'p') + std::string("\0end", 4);
        write_file(at("QZVPROSetup.exe"), payload_);
    }
    void TearDown() override { fs::remove_all(folder_); }

    std::string at(const std::string& name) const { return (folder_ / name).string(); }

    command_result build() {
        return packer({"build", "--stub", at("Reader.exe"), "--output", at("installer.exe"), "--file",
                       "installer32=" + at("QZVPROSetup.exe"), "--value", "executable32=%installer32%", "--value",
                       "parameters=/V\"A=1\""});
    }

    fs::path folder_;
    std::string payload_;
};

TEST_F(packer_files, build_list_verify_extract) {
    const command_result built = build();
    ASSERT_EQ(built.status, 0) << built.err;
    EXPECT_FALSE(fs::exists(at("installer.exe.partial")));

    const command_result listed = packer({"list", at("installer.exe")});
    EXPECT_EQ(listed.status, 0);
    EXPECT_NE(listed.out.find("13 records read, 13 verified: the container reads completely"), std::string::npos)
        << listed.out;
    EXPECT_NE(listed.out.find("file   installer32   QZVPROSetup.exe  300004"), std::string::npos) << listed.out;

    EXPECT_EQ(packer({"verify", at("installer.exe")}).status, 0);

    const command_result extracted = packer({"extract", at("installer.exe"), at("out")});
    EXPECT_EQ(extracted.status, 0) << extracted.err;
    EXPECT_EQ(read_file(folder_ / "out" / "QZVPROSetup.exe"), payload_);
    EXPECT_EQ(std::distance(fs::directory_iterator(folder_ / "out"), fs::directory_iterator()), 1);
    EXPECT_NE(extracted.out.find("QZVPROSetup.exe"), std::string::npos);
}

TEST_F(packer_files, damaged_payload_fails_verify_and_extract) {
    ASSERT_EQ(build().status, 0);
    std::string installer = read_file(at("installer.exe"));
    const std::size_t payload_at = installer.find(payload_);
    ASSERT_NE(payload_at, std::string::npos);
    installer[payload_at + 1000] ^= 1;
    write_file(at("installer.exe"), installer);

    const command_result verified = packer({"verify", at("installer.exe")});
    EXPECT_EQ(verified.status, 1);
    EXPECT_NE(verified.err.find("file group \"installer32\": digest mismatch"), std::string::npos) << verified.err;

    const command_result extracted = packer({"extract", at("installer.exe"), at("out")});
    EXPECT_EQ(extracted.status, 1);
    EXPECT_NE(extracted.err.find("Invalid Archive!"), std::string::npos) << extracted.err;
    EXPECT_TRUE(fs::is_empty(folder_ / "out")) << "no payload and no partial file";
}

TEST_F(packer_files, refused_build_leaves_no_file) {
    ASSERT_EQ(build().status, 0);
    const command_result rebuilt = packer({"build", "--stub", at("installer.exe"), "-o", at("again.exe")});
    EXPECT_EQ(rebuilt.status, 1);
    EXPECT_NE(rebuilt.err.find("already holds a container"), std::string::npos);
    EXPECT_FALSE(fs::exists(at("again.exe")));
    EXPECT_FALSE(fs::exists(at("again.exe.partial")));
}

class packer_help : public testing::TestWithParam<std::vector<std::string>> {};

TEST_P(packer_help, prints_the_command_usage) {
    const command_result result = packer(GetParam());
    EXPECT_EQ(result.status, 0);
    const std::string command = GetParam()[0] == "help" || GetParam()[0] == "--help"
                                    ? (GetParam().size() > 1 ? GetParam()[1] + " " : "COMMAND ")
                                    : GetParam()[0] + " ";
    EXPECT_EQ(result.out.rfind("usage: packer " + command, 0), 0u) << result.out;
}

INSTANTIATE_TEST_SUITE_P(commands, packer_help,
                         testing::Values(std::vector<std::string>{"--help"}, std::vector<std::string>{"help", "list"},
                                         std::vector<std::string>{"build", "--help"},
                                         std::vector<std::string>{"list", "--help"},
                                         std::vector<std::string>{"verify", "-h"},
                                         std::vector<std::string>{"extract", "--help"}));

class packer_usage : public testing::TestWithParam<std::vector<std::string>> {};

TEST_P(packer_usage, is_refused_with_status_2_and_the_usage) {
    const command_result result = packer(GetParam());
    EXPECT_EQ(result.status, 2);
    EXPECT_NE(result.err.find("usage: packer"), std::string::npos) << result.err;
}

INSTANTIATE_TEST_SUITE_P(
    errors, packer_usage,
    testing::Values(std::vector<std::string>{}, std::vector<std::string>{"pack"}, std::vector<std::string>{"build"},
                    std::vector<std::string>{"build", "--stub"},
                    std::vector<std::string>{"build", "--stub", "a", "--output", "b", "--as", "x"},
                    std::vector<std::string>{"build", "--stub", "a", "--output", "b", "--value", "no-equals"},
                    std::vector<std::string>{"build", "--stub", "a", "--output", "b", "--unknown", "x"},
                    std::vector<std::string>{"list"}, std::vector<std::string>{"list", "a", "b"},
                    std::vector<std::string>{"verify"}, std::vector<std::string>{"extract", "a"}));

}  // namespace
