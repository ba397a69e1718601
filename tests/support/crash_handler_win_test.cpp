// The crash handler in processes of its own (crash_probe.exe): the dump, the previous
// filter's verdict, removal, a second installation and two faulting threads.
#include "tests/programs/child_process.hpp"

#include <time.h>

#include <gtest/gtest.h>

namespace {

using test_programs::reported;

class crash_handler : public ::testing::Test {
protected:
    void SetUp() override { directory = test_programs::fresh_directory(L"crash"); }
    void TearDown() override { test_programs::remove_tree(directory); }

    test_programs::child_result run_probe(const std::wstring& arguments) {
        return test_programs::run_child(L"\"" + test_programs::own_directory() + L"crash_probe.exe\" " + arguments,
                                        directory);
    }

    std::wstring directory;
};

TEST_F(crash_handler, writes_a_minidump_named_after_the_installation_time_and_passes_the_verdict_on) {
    const long long before = _time64(nullptr);
    const auto probe = run_probe(L"raise \"" + directory + L"app.exe\"");
    const long long after = _time64(nullptr);

    ASSERT_EQ(probe.exit_code, 0u) << probe.output;
    EXPECT_EQ(reported(probe.output, "installed"), "1");
    // The previous filter let the exception go on, and the process came back from it.
    EXPECT_EQ(reported(probe.output, "previous_calls"), "1");
    EXPECT_EQ(reported(probe.output, "resumed"), "1");
    const std::vector<long long> seconds = test_programs::dump_seconds(directory, L"app.exe");
    ASSERT_EQ(seconds.size(), 1u);
    EXPECT_GE(seconds[0], before);
    EXPECT_LE(seconds[0], after);
    const auto dump = test_programs::read_file(directory + L"app.exe." + std::to_wstring(seconds[0]) + L".dmp");
    EXPECT_EQ(dump.substr(0, 4), "MDMP");
}

TEST_F(crash_handler, an_empty_prefix_writes_to_the_current_directory) {
    const auto probe = run_probe(L"raise \"\"");
    ASSERT_EQ(probe.exit_code, 0u) << probe.output;
    EXPECT_EQ(test_programs::dump_seconds(directory, L"").size(), 1u);
}

TEST_F(crash_handler, after_removal_the_previous_filter_gets_the_exception_and_no_dump_is_written) {
    const auto probe = run_probe(L"raise-removed \"" + directory + L"app.exe\"");
    ASSERT_EQ(probe.exit_code, 0u) << probe.output;
    EXPECT_EQ(reported(probe.output, "installed"), "1");
    EXPECT_EQ(reported(probe.output, "crash_filter_installed"), "0");
    EXPECT_EQ(reported(probe.output, "previous_calls"), "1");
    EXPECT_TRUE(test_programs::files_matching(directory, L"*.dmp").empty());
}

TEST_F(crash_handler, a_second_installation_keeps_the_first_path_and_the_filter_chain) {
    const auto probe = run_probe(L"raise \"" + directory + L"first\" \"" + directory + L"second\"");
    ASSERT_EQ(probe.exit_code, 0u) << probe.output;
    EXPECT_EQ(reported(probe.output, "installed"), "1");
    EXPECT_EQ(reported(probe.output, "installed_again"), "1");
    // Installed twice, the handler would be its own previous filter.
    EXPECT_EQ(reported(probe.output, "previous_calls"), "1");
    EXPECT_EQ(test_programs::dump_seconds(directory, L"first").size(), 1u);
    EXPECT_TRUE(test_programs::files_matching(directory, L"second*").empty());
}

TEST_F(crash_handler, only_the_first_faulting_thread_writes_the_dump) {
    const auto probe = run_probe(L"raise-two-threads \"" + directory + L"app.exe\"");
    ASSERT_EQ(probe.exit_code, 0u) << probe.output;
    EXPECT_EQ(reported(probe.output, "first_dump_written"), "1");
    // The second thread faulted while the first was still in the filter chain.
    EXPECT_EQ(reported(probe.output, "previous_calls"), "2");
    EXPECT_EQ(reported(probe.output, "dump_after_second_fault"), "0");
}

}  // namespace
