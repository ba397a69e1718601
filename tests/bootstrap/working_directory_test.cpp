#include "bootstrap/command_text.hpp"
#include "bootstrap/working_directory.hpp"

#include <gtest/gtest.h>

namespace {

struct command_line_case {
    const char* command_line;
    const char* command_text;
};

class command_text_rule : public testing::TestWithParam<command_line_case> {};

TEST_P(command_text_rule, skips_the_program_name_and_the_blanks_after_it) {
    EXPECT_EQ(bootstrap::command_text(GetParam().command_line), GetParam().command_text);
}

INSTANTIATE_TEST_SUITE_P(
    cases, command_text_rule,
    testing::Values(command_line_case{"Reader.exe", ""}, command_line_case{"Reader.exe /s", "/s"},
                    command_line_case{"\"C:\\Program Files\\Reader.exe\" /s x", "/s x"},
                    command_line_case{"\"C:\\a b\\Reader.exe\"\t \x01/V\"A=1\"", "/V\"A=1\""},
                    command_line_case{"a\"b c\"d  rest  ", "rest  "},
                    command_line_case{"\"unterminated quote /s", ""}, command_line_case{"", ""}));

TEST(command_text, steps_over_a_lead_byte_and_its_follower_together) {
    // 0x81 0x22: a two-byte character whose second byte is a double quote in the ANSI
    // code page; it must not open a quoted name.
    const auto lead = [](unsigned char byte) { return byte == 0x81; };
    EXPECT_EQ(bootstrap::command_text("a\x81\" /s", lead), "/s");
    EXPECT_EQ(bootstrap::command_text("a\x81\" /s"), "");
}

struct number_case {
    std::int64_t seconds;
    std::int32_t number;
};

class run_number_rule : public testing::TestWithParam<number_case> {};

TEST_P(run_number_rule, is_the_low_32_bits_read_as_signed) {
    EXPECT_EQ(bootstrap::run_number(GetParam().seconds), GetParam().number);
}

INSTANTIATE_TEST_SUITE_P(cases, run_number_rule,
                         testing::Values(number_case{42, 42}, number_case{1796858554, 1796858554},
                                         number_case{2147483647, 2147483647},           // 2038-01-19
                                         number_case{2147483648LL, -2147483647 - 1},  // one second later
                                         number_case{4294967296LL + 42, 42}));

TEST(working_directory_name, joins_temp_folder_qzv_number_and_backslash) {
    EXPECT_EQ(bootstrap::working_directory_name("C:\\Users\\u\\AppData\\Local\\Temp\\", 42),
              "C:\\Users\\u\\AppData\\Local\\Temp\\QZV42\\");
    EXPECT_EQ(bootstrap::working_directory_name(bootstrap::fallback_temp_folder, -7), "C:\\Temp\\QZV-7\\");
}

struct parent_case {
    const char* working_directory;
    const char* parent;
};

class parent_folder_rule : public testing::TestWithParam<parent_case> {};

TEST_P(parent_folder_rule, drops_the_last_name_and_its_backslashes) {
    EXPECT_EQ(bootstrap::parent_folder(GetParam().working_directory), GetParam().parent);
}

INSTANTIATE_TEST_SUITE_P(cases, parent_folder_rule,
                         testing::Values(parent_case{"C:\\Users\\u\\AppData\\Local\\Temp\\QZV42\\",
                                                     "C:\\Users\\u\\AppData\\Local\\Temp"},
                                         parent_case{"C:\\Temp\\QZV42\\", "C:\\Temp"},
                                         parent_case{"D:\\QZV42\\", "D:"},
                                         parent_case{"QZV42\\", "QZV42\\"}, parent_case{"\\", "\\"},
                                         parent_case{"", ""}));

}  // namespace
