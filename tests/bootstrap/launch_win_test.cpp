#include "bootstrap/launch.hpp"
#include "support/win/windows.hpp"
#include "tests/common/recording_reporter.hpp"

#include <gtest/gtest.h>

namespace {

std::string system_folder() {
    char buffer[MAX_PATH];
    const UINT length = ::GetSystemDirectoryA(buffer, MAX_PATH);
    return std::string(buffer, length);
}

TEST(launch_and_wait, returns_the_programs_full_exit_code) {
    testing_support::recording_reporter reporter;
    for (unsigned long code : {0ul, 3010ul, 0xC0000005ul}) {
        // cmd takes the code as a signed number.
        const bootstrap::launch_request request{system_folder() + "\\cmd.exe",
                                                "/c exit " + std::to_string(static_cast<long>(code)),
                                                system_folder()};
        EXPECT_EQ(bootstrap::launch_and_wait(request, reporter), code);
    }
    EXPECT_TRUE(reporter.shown.empty());
}

TEST(launch_and_wait, missing_program_is_reported_as_not_spawned) {
    testing_support::recording_reporter reporter;
    const bootstrap::launch_request request{system_folder() + "\\no_such_program.exe", "", system_folder()};
    EXPECT_EQ(bootstrap::launch_and_wait(request, reporter), 1u);
    ASSERT_EQ(reporter.shown.size(), 1u);
    EXPECT_EQ(reporter.shown[0].first, "ShellExecuteEx failed");
    EXPECT_EQ(reporter.shown[0].second, "Unable to spawn process");
}

TEST(launch_and_wait, tells_when_the_launch_has_been_tried_whatever_its_outcome) {
    testing_support::recording_reporter reporter;
    for (const char* program : {"\\cmd.exe", "\\no_such_program.exe"}) {
        int calls = 0;
        const bootstrap::launch_request request{system_folder() + program, "/c exit 0", system_folder()};
        bootstrap::launch_and_wait(request, reporter, [&] { ++calls; });
        EXPECT_EQ(calls, 1) << program;
    }
}

TEST(wait_for_exit, a_launch_without_process_handle_cannot_be_waited_for) {
    testing_support::recording_reporter reporter;
    EXPECT_EQ(bootstrap::wait_for_exit(nullptr, reporter), 1u);
    ASSERT_EQ(reporter.shown.size(), 1u);
    EXPECT_EQ(reporter.shown[0].first, "WaitForSingleObject failed");
    EXPECT_EQ(reporter.shown[0].second, "Unable to wait for process");
}

}  // namespace
