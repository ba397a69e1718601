// The rotation rule of the log file sink, followed over an in-memory set of files that
// records every operation, including a copy that never succeeds.
#include "support/log/rotation.hpp"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

namespace {

namespace log = replay::log;

const std::string bom = "\xEF\xBB\xBF";

// Files by name, the way the rotation sees them: a copy refuses an existing target, a
// move needs an existing source. Every operation is written to the journal.
class memory_files final : public log::rotation_files {
public:
    std::map<std::string, std::string> files;
    std::vector<std::string> journal;
    bool refuse_copies = false;
    std::string unmovable;  // a file that cannot be moved, as if another program held it

    bool copy_live_to(const std::string& copy_name) override {
        journal.push_back("copy " + copy_name);
        if (refuse_copies || files.count(copy_name) != 0)
            return false;
        files[copy_name] = files.at(live);
        return true;
    }
    bool move_replacing(const std::string& from, const std::string& to) override {
        journal.push_back("move " + from + " " + to);
        const auto source = files.find(from);
        if (source == files.end() || from == unmovable)
            return false;
        files[to] = source->second;
        files.erase(source);
        return true;
    }
    void remove(const std::string& name) override {
        journal.push_back("delete " + name);
        files.erase(name);
    }
    void empty_live() override {
        journal.push_back("empty");
        files[live] = bom;
    }

    const std::string live = log::live_file_name("b");
};

struct rotation_case {
    const char* name;
    std::uint32_t copies;
    std::vector<int> present;  // numbered copies that exist before, holding "old N"
    std::string unmovable;
    std::vector<std::string> journal;
    std::map<std::string, std::string> after;
};

class rotate : public testing::TestWithParam<rotation_case> {};

TEST_P(rotate, copies_moves_and_empties_in_order) {
    memory_files files;
    files.unmovable = GetParam().unmovable;
    files.files[files.live] = "live";
    for (int number : GetParam().present)
        files.files[log::copy_file_name("b", number)] = "old " + std::to_string(number);

    log::rotate(files, "b", GetParam().copies);

    EXPECT_EQ(files.journal, GetParam().journal);
    std::map<std::string, std::string> after = GetParam().after;
    after["b.log.txt"] = bom;
    EXPECT_EQ(files.files, after);
}

INSTANTIATE_TEST_SUITE_P(
    cases, rotate,
    testing::Values(
        rotation_case{"no_copies_only_empties", 0, {1}, "", {"empty"}, {{"b.1.log.txt", "old 1"}}},
        rotation_case{"one_copy_made", 1, {}, "",
                      {"delete b.1.log.txt", "copy b.1.log.txt", "empty"},
                      {{"b.1.log.txt", "live"}}},
        rotation_case{"one_copy_replaced", 1, {1}, "",
                      {"delete b.1.log.txt", "copy b.1.log.txt", "empty"},
                      {{"b.1.log.txt", "live"}}},
        rotation_case{"first_of_three", 3, {}, "", {"copy b.1.log.txt", "empty"},
                      {{"b.1.log.txt", "live"}}},
        rotation_case{"missing_middle_copy_filled_first", 3, {1, 3}, "",
                      {"copy b.1.log.txt", "copy b.2.log.txt", "empty"},
                      {{"b.1.log.txt", "old 1"}, {"b.2.log.txt", "live"}, {"b.3.log.txt", "old 3"}}},
        rotation_case{"all_three_present_shift_down", 3, {1, 2, 3}, "",
                      {"copy b.1.log.txt", "copy b.2.log.txt", "copy b.3.log.txt",
                       "move b.2.log.txt b.1.log.txt", "move b.3.log.txt b.2.log.txt",
                       "copy b.3.log.txt", "empty"},
                      {{"b.1.log.txt", "old 2"}, {"b.2.log.txt", "old 3"}, {"b.3.log.txt", "live"}}},
        // A copy beyond the number kept is left alone.
        rotation_case{"higher_numbers_ignored", 2, {1, 2, 3}, "",
                      {"copy b.1.log.txt", "copy b.2.log.txt", "move b.2.log.txt b.1.log.txt",
                       "copy b.2.log.txt", "empty"},
                      {{"b.1.log.txt", "old 2"}, {"b.2.log.txt", "live"}, {"b.3.log.txt", "old 3"}}},
        // A failed move ends the shift, and the searches after it find no free number:
        // after the last one the live file is emptied without a copy.
        rotation_case{"shift_stops_at_a_failed_move", 3, {1, 2, 3}, "b.3.log.txt",
                      {"copy b.1.log.txt", "copy b.2.log.txt", "copy b.3.log.txt",
                       "move b.2.log.txt b.1.log.txt", "move b.3.log.txt b.2.log.txt",
                       "copy b.3.log.txt", "move b.2.log.txt b.1.log.txt", "copy b.3.log.txt",
                       "empty"},
                      {{"b.1.log.txt", "old 2"}, {"b.3.log.txt", "old 3"}}}),
    [](const testing::TestParamInfo<rotation_case>& info) { return std::string(info.param.name); });

// Copying never succeeds (a full disk, a folder without write access): the rotation
// gives up after its bounded number of searches and empties the live file anyway.
TEST(rotate, gives_up_when_copying_keeps_failing) {
    memory_files files;
    files.refuse_copies = true;
    files.files[files.live] = "live";
    for (int number : {1, 2, 3})
        files.files[log::copy_file_name("b", number)] = "old " + std::to_string(number);

    log::rotate(files, "b", 3);

    const std::vector<std::string> expected{
        "copy b.1.log.txt", "copy b.2.log.txt", "copy b.3.log.txt",
        "move b.2.log.txt b.1.log.txt", "move b.3.log.txt b.2.log.txt", "copy b.3.log.txt",
        "move b.2.log.txt b.1.log.txt", "move b.3.log.txt b.2.log.txt", "copy b.3.log.txt",
        "empty"};
    EXPECT_EQ(files.journal, expected);
    EXPECT_EQ(log::max_rotation_rounds, 3u);
    EXPECT_EQ(files.files.at(files.live), bom);
}

// With one copy there is no shift to make; the delete-and-copy is what repeats.
TEST(rotate, gives_up_with_a_single_copy_too) {
    memory_files files;
    files.refuse_copies = true;
    files.files[files.live] = "live";

    log::rotate(files, "b", 1);

    std::vector<std::string> expected;
    for (unsigned round = 0; round < log::max_rotation_rounds; ++round) {
        expected.push_back("delete b.1.log.txt");
        expected.push_back("copy b.1.log.txt");
    }
    expected.push_back("empty");
    EXPECT_EQ(files.journal, expected);
    EXPECT_EQ(files.files.at(files.live), bom);
}

TEST(rotation_names, live_file_and_numbered_copies) {
    EXPECT_EQ(log::live_file_name("C:\\logs\\app"), "C:\\logs\\app.log.txt");
    EXPECT_EQ(log::copy_file_name("C:\\logs\\app", 1), "C:\\logs\\app.1.log.txt");
    EXPECT_EQ(log::copy_file_name("app", 12), "app.12.log.txt");
}

}  // namespace
