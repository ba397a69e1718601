// Start-up seen from outside, in processes of their own (crash_probe.exe): with the
// product's resources and the program's instance handle, and with a null module handle.
#include "tests/programs/child_process.hpp"

#include <shlobj.h>
#include <time.h>

#include <gtest/gtest.h>

namespace {

using test_programs::reported;

std::wstring folder(int csidl) {
    wchar_t path[MAX_PATH] = {};
    EXPECT_EQ(::SHGetFolderPathW(nullptr, csidl, nullptr, SHGFP_TYPE_CURRENT, path), S_OK);
    return path;
}

std::string narrow_folder(int csidl) { return test_programs::narrow(folder(csidl)); }

test_programs::child_result run_probe(const std::wstring& arguments) {
    return test_programs::run_child(L"\"" + test_programs::own_directory() + L"crash_probe.exe\" " + arguments);
}

// Every test starts without the product's per-user and machine-wide directories.
class probe_startup : public ::testing::Test {
protected:
    void SetUp() override {
        test_programs::remove_tree(folder(CSIDL_APPDATA) + L"\\Quorlin");
        test_programs::remove_tree(folder(CSIDL_COMMON_APPDATA) + L"\\Quorlin");
    }
    void TearDown() override { SetUp(); }
};

TEST_F(probe_startup, with_the_instance_handle_fills_all_seven_values_and_sets_up_no_dumps) {
    const auto probe = run_probe(L"values");
    ASSERT_EQ(probe.exit_code, 0u) << probe.output;
    const std::string appdata = narrow_folder(CSIDL_APPDATA) + "\\";
    const std::string common = narrow_folder(CSIDL_COMMON_APPDATA) + "\\";

    EXPECT_EQ(reported(probe.output, "brand"), "Quorlin");
    EXPECT_EQ(reported(probe.output, "product_name"), "Tallowmere");
    EXPECT_EQ(reported(probe.output, "module_directory"), test_programs::narrow(test_programs::own_directory()));
    EXPECT_EQ(reported(probe.output, "module_file_name"), "crash_probe.exe");
    EXPECT_EQ(reported(probe.output, "common_data_root"), common);
    EXPECT_EQ(reported(probe.output, "common_product_directory"), common + "Quorlin\\Tallowmere\\");
    EXPECT_EQ(reported(probe.output, "user_data_root"), appdata);
    EXPECT_EQ(reported(probe.output, "user_product_directory"), appdata + "Quorlin\\Tallowmere\\");
    EXPECT_EQ(reported(probe.output, "dumps_exists"), "0");
    EXPECT_EQ(reported(probe.output, "crash_filter_installed"), "0");
    EXPECT_FALSE(test_programs::exists(folder(CSIDL_APPDATA) + L"\\Quorlin"));
    EXPECT_FALSE(test_programs::exists(folder(CSIDL_COMMON_APPDATA) + L"\\Quorlin"));
}

TEST_F(probe_startup, with_a_null_module_a_null_dereference_leaves_a_minidump_in_the_new_dumps_directory) {
    const long long before = _time64(nullptr);
    const auto probe = run_probe(L"null-deref");
    const long long after = _time64(nullptr);
    EXPECT_EQ(probe.exit_code, static_cast<DWORD>(EXCEPTION_ACCESS_VIOLATION)) << probe.output;
    EXPECT_EQ(reported(probe.output, "crash_filter_installed"), "1");

    const std::wstring dumps = folder(CSIDL_APPDATA) + L"\\Quorlin\\Tallowmere\\Dumps\\";
    EXPECT_EQ(reported(probe.output, "user_product_directory"),
              test_programs::narrow(folder(CSIDL_APPDATA)) + "\\Quorlin\\Tallowmere\\");
    ASSERT_TRUE(test_programs::exists(dumps));
    const std::vector<long long> seconds = test_programs::dump_seconds(dumps, L"crash_probe.exe");
    ASSERT_EQ(seconds.size(), 1u);
    EXPECT_GE(seconds[0], before);
    EXPECT_LE(seconds[0], after);
    const std::string dump =
        test_programs::read_file(dumps + L"crash_probe.exe." + std::to_wstring(seconds[0]) + L".dmp");
    EXPECT_EQ(dump.substr(0, 4), "MDMP");
}

TEST_F(probe_startup, a_second_init_with_a_null_module_registers_the_exit_time_removal_once) {
    const auto probe = run_probe(L"init-twice");
    ASSERT_EQ(probe.exit_code, 0u) << probe.output;
    EXPECT_EQ(reported(probe.output, "crash_filter_installed"), "1");
    // The removal ran at exit (the filter is gone) and released the library only once.
    EXPECT_EQ(reported(probe.output, "crash_filter_installed_after_exit_removal"), "0");
    EXPECT_EQ(reported(probe.output, "dbghelp_loaded_after_exit_removal"), "1");
}

}  // namespace
