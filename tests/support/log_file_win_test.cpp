// The log file sink on real files: a new file's byte-order mark, appending, rotation
// into numbered copies, and a rotation that cannot copy.
#include "support/exceptions/exception.hpp"
#include "support/log/file.hpp"
#include "support/win/windows.hpp"

#include <gtest/gtest.h>

#include <cctype>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>
#include <vector>

namespace {

namespace log = replay::log;

const std::string bom = "\xEF\xBB\xBF";
const std::string stamp = "2024/03/07 09:05:02 +  ";

std::string line(const std::string& text) { return stamp + text + "\r\n"; }

// A folder of its own under the temporary folder, removed with its files afterwards.
class log_file : public testing::Test {
protected:
    void SetUp() override {
        char temp[MAX_PATH + 1] = {};
        ASSERT_NE(::GetTempPathA(sizeof temp, temp), 0u);
        static int counter = 0;
        folder_ = std::string(temp) + "log_file_test." + std::to_string(::GetCurrentProcessId()) +
                  "." + std::to_string(++counter);
        ASSERT_TRUE(::CreateDirectoryA(folder_.c_str(), nullptr)) << folder_;
        base_ = folder_ + "\\setup";
    }

    void TearDown() override {
        WIN32_FIND_DATAA found;
        const std::string pattern = folder_ + "\\*";
        HANDLE find = ::FindFirstFileA(pattern.c_str(), &found);
        if (find != INVALID_HANDLE_VALUE) {
            do {
                const std::string name = folder_ + "\\" + found.cFileName;
                if (found.cFileName[0] == '.')
                    continue;
                if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                    ::RemoveDirectoryA(name.c_str());
                else
                    ::DeleteFileA(name.c_str());
            } while (::FindNextFileA(find, &found));
            ::FindClose(find);
        }
        ::RemoveDirectoryA(folder_.c_str());
    }

    std::string live() const { return base_ + ".log.txt"; }
    std::string copy(int number) const { return base_ + "." + std::to_string(number) + ".log.txt"; }

    static std::optional<std::string> read(const std::string& name) {
        std::ifstream in(name, std::ios::binary);
        if (!in)
            return std::nullopt;
        return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }

    static void put(const std::string& name, const std::string& content) {
        std::ofstream out(name, std::ios::binary | std::ios::trunc);
        out << content;
        ASSERT_TRUE(out.good()) << name;
    }

    static bool is_folder(const std::string& name) {
        const DWORD attributes = ::GetFileAttributesA(name.c_str());
        return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
    }

    std::string folder_;
    std::string base_;
};

TEST_F(log_file, a_new_file_starts_with_the_byte_order_mark_and_lines_follow) {
    log::file sink(base_, 1000, 3);
    EXPECT_EQ(read(live()), bom);
    sink.write(2, stamp, "first");
    sink.write(4, stamp, "caf\xC3\xA9");
    EXPECT_EQ(read(live()), bom + line("first") + line("caf\xC3\xA9"));
    EXPECT_EQ(read(copy(1)), std::nullopt);
}

TEST_F(log_file, an_existing_file_is_appended_to_as_it_is) {
    put(live(), "kept\r\n");
    log::file sink(base_, 1000, 3);
    sink.write(1, stamp, "appended");
    EXPECT_EQ(read(live()), "kept\r\n" + line("appended"));
}

TEST_F(log_file, maximum_size_0_rotates_before_every_line) {
    {
        log::file sink(base_, 0, 0);
        for (const char* text : {"one", "two", "three"})
            sink.write(1, stamp, text);
    }
    EXPECT_EQ(read(live()), bom + line("three"));
    EXPECT_EQ(read(copy(1)), std::nullopt);
}

TEST_F(log_file, one_copy_is_replaced_at_every_rotation) {
    log::file sink(base_, 0, 1);
    for (const char* text : {"one", "two", "three"})
        sink.write(1, stamp, text);
    EXPECT_EQ(read(live()), bom + line("three"));
    EXPECT_EQ(read(copy(1)), bom + line("two"));
    EXPECT_EQ(read(copy(2)), std::nullopt);
}

TEST_F(log_file, a_file_below_the_maximum_is_not_rotated) {
    put(live(), "123456789");
    log::file sink(base_, 10, 3);
    sink.write(1, stamp, "fits");
    EXPECT_EQ(read(live()), "123456789" + line("fits"));
    EXPECT_EQ(read(copy(1)), std::nullopt);
}

struct rotation_case {
    const char* name;
    std::uint32_t copies;
    std::vector<int> present;        // copies that exist before, holding "old N"
    std::vector<std::string> after;  // contents of copies 1 to 4 afterwards ("" = none)
};

class log_file_rotation : public log_file, public testing::WithParamInterface<rotation_case> {};

TEST_P(log_file_rotation, saves_the_full_file_as_the_newest_copy) {
    put(live(), "full live file");
    for (int number : GetParam().present)
        put(copy(number), "old " + std::to_string(number));

    log::file sink(base_, 10, GetParam().copies);
    sink.write(1, stamp, "new");

    EXPECT_EQ(read(live()), bom + line("new"));
    for (int number = 1; number <= 4; ++number) {
        const std::string& expected = GetParam().after[static_cast<std::size_t>(number - 1)];
        EXPECT_EQ(read(copy(number)),
                  expected.empty() ? std::nullopt : std::optional<std::string>(expected))
            << "copy " << number;
    }
}

INSTANTIATE_TEST_SUITE_P(
    cases, log_file_rotation,
    testing::Values(
        rotation_case{"no_copies", 0, {}, {"", "", "", ""}},
        rotation_case{"no_copies_leave_old_ones_alone", 0, {1}, {"old 1", "", "", ""}},
        rotation_case{"one_copy_replaced", 1, {1}, {"full live file", "", "", ""}},
        rotation_case{"first_of_three", 3, {}, {"full live file", "", "", ""}},
        rotation_case{"missing_copy_2_filled_first", 3, {1, 3},
                      {"old 1", "full live file", "old 3", ""}},
        rotation_case{"two_onto_one_and_three_onto_two", 3, {1, 2, 3},
                      {"old 2", "old 3", "full live file", ""}},
        rotation_case{"copies_beyond_the_number_kept_stay", 3, {1, 2, 3, 4},
                      {"old 2", "old 3", "full live file", "old 4"}}),
    [](const testing::TestParamInfo<rotation_case>& info) { return std::string(info.param.name); });

// Folders in the place of the copies: no copy, move or delete can succeed, so without
// its bound the rotation would go round for ever. It gives up and empties the file.
TEST_F(log_file, a_rotation_that_cannot_copy_gives_up_and_empties_the_file) {
    for (std::uint32_t copies : {1u, 3u}) {
        for (std::uint32_t number = 1; number <= copies; ++number)
            ASSERT_TRUE(::CreateDirectoryA(copy(static_cast<int>(number)).c_str(), nullptr));
        put(live(), "full live file");
        {
            log::file sink(base_, 10, copies);
            sink.write(1, stamp, "after giving up");
        }
        EXPECT_EQ(read(live()), bom + line("after giving up")) << copies << " copies";
        for (std::uint32_t number = 1; number <= copies; ++number) {
            EXPECT_TRUE(is_folder(copy(static_cast<int>(number))));
            ::RemoveDirectoryA(copy(static_cast<int>(number)).c_str());
        }
    }
}

TEST_F(log_file, two_sinks_on_one_file_share_its_lock_and_its_copies) {
    log::file first(base_, 0, 2);
    // Another spelling of the same path: different case and a doubled separator.
    std::string other = base_;
    for (char& c : other)
        c = static_cast<char>(::toupper(static_cast<unsigned char>(c)));
    other.insert(other.rfind('\\'), "\\.");
    log::file second(other, 0, 2);

    first.write(1, stamp, "a");
    second.write(1, stamp, "b");
    first.write(1, stamp, "c");

    EXPECT_EQ(read(live()), bom + line("c"));
    EXPECT_EQ(read(copy(1)), bom + line("a"));
    EXPECT_EQ(read(copy(2)), bom + line("b"));
}

TEST_F(log_file, a_file_that_cannot_be_opened_throws) {
    const std::string missing = folder_ + "\\no such folder\\setup";
    try {
        log::file sink(missing, 1000, 3);
        ADD_FAILURE() << "no exception";
    } catch (const replay::exception& error) {
        EXPECT_EQ(std::string(error.what()).rfind("[CreateFile failed: " + missing + ".log.txt (", 0), 0u)
            << error.what();
    }
}

}  // namespace
