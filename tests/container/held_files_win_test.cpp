// On Windows, a stored file that the extraction holds cannot be written, replaced or
// deleted by anyone until it is released, yet it can still be opened to run it.
#include "container/reader.hpp"
#include "container/record_format.hpp"
#include "support/win/windows.hpp"
#include "tests/common/recording_reporter.hpp"
#include "tests/container/test_container.hpp"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace {

namespace fs = std::filesystem;

TEST(held_files, stay_unchangeable_until_released) {
    const fs::path folder = fs::path(testing::TempDir()) / "held_files_test";
    fs::remove_all(folder);
    fs::create_directories(folder / "work");
    container_test::test_container c;
    c.file("installer32", "QZVPROSetup.exe", "payload bytes").tail();
    const std::string installer = (folder / "installer.exe").string();
    std::ofstream(installer, std::ios::binary) << c.bytes();

    testing_support::recording_reporter reporter;
    container::value_table values;
    container::extraction run{reporter, (folder / "work").string() + "\\", values};
    run.hold_files = true;
    container::extract_container(installer, run);
    ASSERT_TRUE(run.archive_valid && run.complete);
    const std::string payload = (folder / "work" / "QZVPROSetup.exe").string();

    EXPECT_FALSE(::DeleteFileA(payload.c_str()));
    EXPECT_EQ(::GetLastError(), static_cast<DWORD>(ERROR_SHARING_VIOLATION));
    HANDLE writer = ::CreateFileA(payload.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                  nullptr, OPEN_EXISTING, 0, nullptr);
    EXPECT_EQ(writer, INVALID_HANDLE_VALUE);
    // The way a program's image is opened to start it: read and execute, sharing read and delete.
    HANDLE runner = ::CreateFileA(payload.c_str(), GENERIC_READ | GENERIC_EXECUTE, FILE_SHARE_READ | FILE_SHARE_DELETE,
                                  nullptr, OPEN_EXISTING, 0, nullptr);
    EXPECT_NE(runner, INVALID_HANDLE_VALUE);
    if (runner != INVALID_HANDLE_VALUE)
        ::CloseHandle(runner);

    run.release_files();
    EXPECT_TRUE(::DeleteFileA(payload.c_str()));
    fs::remove_all(folder);
}

}  // namespace
