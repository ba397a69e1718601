// Narrow/wide conversion rules that hold on every platform: the flag-capable code pages,
// empty text, unsupported code pages, ASCII and embedded zeros.
#include "support/exceptions/unicode_errors.hpp"
#include "support/unicode/conversion.hpp"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

namespace {

using namespace replay::unicode;

// A number that no platform gives a code page to.
constexpr std::uint32_t unsupported_code_page = 12345;

struct flags_case {
    std::uint32_t code_page;
    bool allowed;
};

class flags_allowed_table : public testing::TestWithParam<flags_case> {};

TEST_P(flags_allowed_table, answers_for_the_code_page) {
    EXPECT_EQ(flags_allowed(GetParam().code_page), GetParam().allowed) << GetParam().code_page;
}

INSTANTIATE_TEST_SUITE_P(
    listed_without_flags, flags_allowed_table,
    testing::Values(flags_case{42, false}, flags_case{50221, false}, flags_case{50222, false},
                    flags_case{50225, false}, flags_case{50227, false}, flags_case{50229, false},
                    flags_case{52936, false}, flags_case{54936, false}, flags_case{57002, false},
                    flags_case{57003, false}, flags_case{57004, false}, flags_case{57005, false},
                    flags_case{57006, false}, flags_case{57007, false}, flags_case{57008, false},
                    flags_case{57009, false}, flags_case{57010, false}, flags_case{57011, false},
                    flags_case{65000, false}, flags_case{65001, false}));

// The neighbours of the listed numbers, 50220 among them, and the code pages in daily use.
INSTANTIATE_TEST_SUITE_P(
    flag_capable, flags_allowed_table,
    testing::Values(flags_case{0, true}, flags_case{1, true}, flags_case{41, true}, flags_case{43, true},
                    flags_case{437, true}, flags_case{932, true}, flags_case{1252, true}, flags_case{50220, true},
                    flags_case{50223, true}, flags_case{50228, true}, flags_case{52935, true},
                    flags_case{54935, true}, flags_case{57001, true}, flags_case{57012, true},
                    flags_case{65002, true}, flags_case{0xFFFFFFFFu, true}));

class empty_text : public testing::TestWithParam<std::uint32_t> {};

TEST_P(empty_text, converts_to_empty_text_without_looking_at_the_code_page) {
    EXPECT_EQ(to_narrow(std::wstring(), GetParam(), true), "");
    EXPECT_EQ(to_narrow(std::wstring(), GetParam(), false), "");
    EXPECT_EQ(to_wide(std::string(), GetParam()), L"");
}

INSTANTIATE_TEST_SUITE_P(code_pages, empty_text,
                         testing::Values(ansi_code_page, oem_code_page, utf8_code_page, unsupported_code_page, 42u));

TEST(conversion, unsupported_code_page_is_refused_both_ways) {
    EXPECT_THROW(to_narrow(L"a", unsupported_code_page, true), invalid_codepage);
    EXPECT_THROW(to_narrow(L"a", unsupported_code_page, false), invalid_codepage);
    EXPECT_THROW(to_wide("a", unsupported_code_page), invalid_codepage);
}

TEST(conversion, errors_carry_an_empty_message) {
    try {
        to_wide("a", unsupported_code_page);
        FAIL() << "nothing thrown";
    } catch (const replay::exception& e) {
        EXPECT_STREQ(e.what(), "unicode.invalid_codepage[]");
    }
}

class ascii_round_trip : public testing::TestWithParam<std::uint32_t> {};

TEST_P(ascii_round_trip, keeps_every_character_including_embedded_zeros) {
    const std::wstring wide(L"/L1033 a\0b \"Quorlin\"\0", 21);
    const std::string narrow("/L1033 a\0b \"Quorlin\"\0", 21);
    EXPECT_EQ(to_narrow(wide, GetParam(), true), narrow);
    EXPECT_EQ(to_wide(narrow, GetParam()), wide);
}

INSTANTIATE_TEST_SUITE_P(code_pages, ascii_round_trip, testing::Values(ansi_code_page, oem_code_page, utf8_code_page));

TEST(conversion, input_is_left_unchanged) {
    const std::wstring wide = L"abc";
    const std::string narrow = "abc";
    (void)to_narrow(wide, utf8_code_page, true);
    (void)to_wide(narrow, utf8_code_page);
    EXPECT_EQ(wide, L"abc");
    EXPECT_EQ(narrow, "abc");
}

}  // namespace
