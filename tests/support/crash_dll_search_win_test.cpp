// DLLs planted beside the program: the crash handler's "dbghelp.dll" and, once the search
// is restricted, any DLL loaded by name come from the system directory only.
#include "tests/programs/child_process.hpp"

#include <gtest/gtest.h>

#include <cctype>

namespace {

using test_programs::reported;

std::string lower(std::string text) {
    for (char& c : text)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

std::string system_directory() {
    char path[MAX_PATH] = {};
    ::GetSystemDirectoryA(path, MAX_PATH);
    return lower(path) + "\\";
}

// A folder holding a copy of the probe and the fake library under `planted_name`, as a
// downloads folder would hold an installer and a DLL someone left there.
class planted_dll : public ::testing::Test {
protected:
    void SetUp() override { directory = test_programs::fresh_directory(L"planted"); }
    void TearDown() override { test_programs::remove_tree(directory); }

    void plant(const std::wstring& planted_name) {
        const std::wstring source = test_programs::own_directory();
        ASSERT_TRUE(::CopyFileW((source + L"crash_probe.exe").c_str(), (directory + L"crash_probe.exe").c_str(), FALSE));
        ASSERT_TRUE(::CopyFileW((source + L"fake_dbghelp.dll").c_str(), (directory + planted_name).c_str(), FALSE));
    }

    test_programs::child_result run_probe(const std::wstring& arguments) {
        return test_programs::run_child(L"\"" + directory + L"crash_probe.exe\" " + arguments, directory);
    }

    std::wstring directory;
};

TEST_F(planted_dll, a_plain_load_by_name_would_take_the_planted_library) {
    // The threat is real here: without a restriction the program's folder comes first.
    plant(L"dbghelp.dll");
    const auto probe = run_probe(L"load dbghelp.dll");
    ASSERT_EQ(probe.exit_code, 0u) << probe.output;
    EXPECT_EQ(lower(reported(probe.output, "loaded_path")), lower(test_programs::narrow(directory)) + "dbghelp.dll");
}

TEST_F(planted_dll, the_crash_handler_uses_the_system_dbghelp) {
    plant(L"dbghelp.dll");
    const auto probe = run_probe(L"dbghelp-path \"" + directory + L"app.exe\"");
    ASSERT_EQ(probe.exit_code, 0u) << probe.output;
    EXPECT_EQ(reported(probe.output, "installed"), "1");
    EXPECT_EQ(lower(reported(probe.output, "dbghelp_path")), system_directory() + "dbghelp.dll");
    const auto seconds = test_programs::dump_seconds(directory, L"app.exe");
    ASSERT_EQ(seconds.size(), 1u);
    const auto dump = test_programs::read_file(directory + L"app.exe." + std::to_wstring(seconds[0]) + L".dmp");
    EXPECT_EQ(dump.substr(0, 4), "MDMP");
}

TEST_F(planted_dll, a_restricted_search_ignores_the_programs_folder) {
    plant(L"planted.dll");
    const auto unrestricted = run_probe(L"load planted.dll");
    EXPECT_EQ(reported(unrestricted.output, "loaded"), "1");

    const auto restricted = run_probe(L"restrict-and-load planted.dll");
    ASSERT_EQ(restricted.exit_code, 0u) << restricted.output;
    EXPECT_EQ(reported(restricted.output, "restricted"), "1");
    EXPECT_EQ(reported(restricted.output, "loaded"), "0");
}

TEST_F(planted_dll, a_restricted_search_still_finds_system_libraries_by_name) {
    plant(L"dbghelp.dll");
    const auto probe = run_probe(L"restrict-and-load dbghelp.dll");
    ASSERT_EQ(probe.exit_code, 0u) << probe.output;
    EXPECT_EQ(lower(reported(probe.output, "loaded_path")), system_directory() + "dbghelp.dll");
}

}  // namespace
