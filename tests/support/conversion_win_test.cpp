// Narrow/wide conversion against the system's own code-page services.
#include "support/exceptions/unicode_errors.hpp"
#include "support/unicode/conversion.hpp"
#include "support/win/windows.hpp"

#include <gtest/gtest.h>

#include <string>

namespace {

using namespace replay::unicode;

// The ANSI code page's default character, asking the system directly.
char ansi_default_character() {
    CPINFO info{};
    EXPECT_TRUE(::GetCPInfo(CP_ACP, &info));
    return static_cast<char>(info.DefaultChar[0]);
}

// The unmappable-character cases need an ANSI code page without CJK ideographs.
void expect_single_byte_ansi_code_page() {
    CPINFO info{};
    ASSERT_TRUE(::GetCPInfo(CP_ACP, &info));
    ASSERT_EQ(info.MaxCharSize, 1u) << "ANSI code page " << ::GetACP();
}

TEST(conversion_win, unmappable_character_in_the_ansi_code_page_strict_is_refused) {
    expect_single_byte_ansi_code_page();
    EXPECT_THROW(to_narrow(L"a\u4E00b", ansi_code_page, true), unmappable_character);
    // A lone surrogate has no form in any code page.
    EXPECT_THROW(to_narrow(std::wstring(L"a\xD800", 2), ansi_code_page, true), unmappable_character);
}

TEST(conversion_win, unmappable_character_in_the_ansi_code_page_lenient_becomes_the_default_character) {
    expect_single_byte_ansi_code_page();
    const char fallback = ansi_default_character();
    EXPECT_EQ(to_narrow(L"a\u4E00b", ansi_code_page, false), std::string("a") + fallback + "b");
}

TEST(conversion_win, single_byte_code_page_converts_both_ways) {
    EXPECT_EQ(to_narrow(L"caf\u00E9 \u20AC", 1252, true), "caf\xE9 \x80");
    EXPECT_EQ(to_wide("caf\xE9 \x80", 1252), L"caf\u00E9 \u20AC");
}

// 65001 takes no default-character report, so a strict conversion cannot refuse: the
// system puts U+FFFD in place of a lone surrogate.
TEST(conversion_win, utf8_strict_narrowing_reports_no_unmappable_character) {
    const std::wstring text(L"a\u00E9\u4E00\xD800z", 5);
    EXPECT_EQ(to_narrow(text, utf8_code_page, true), "a\xC3\xA9\xE4\xB8\x80\xEF\xBF\xBDz");
}

// 65001 takes no invalid-sequence check either: a malformed byte becomes U+FFFD.
TEST(conversion_win, utf8_widening_makes_no_invalid_sequence_check) {
    EXPECT_EQ(to_wide("a\xC3\xA9\xE4\xB8\x80z", utf8_code_page), L"a\u00E9\u4E00z");
    EXPECT_EQ(to_wide("a\xFFz", utf8_code_page), L"a\uFFFDz");
    EXPECT_EQ(to_wide("a\xC3", utf8_code_page), L"a\uFFFD");
}

// UTF-7 is outside the flag-capable set too: the system would reject the report for
// it, so passing it would turn every conversion into an error.
TEST(conversion_win, utf7_strict_narrowing_converts_without_the_report) {
    EXPECT_EQ(to_narrow(L"a\u4E00b", 65000, true), "a+TgA-b");
}

TEST(conversion_win, double_byte_code_page_converts_both_ways) {
    EXPECT_EQ(to_narrow(L"a\u3042", 932, true), "a\x82\xA0");
    EXPECT_EQ(to_wide("a\x82\xA0", 932), L"a\u3042");
}

TEST(conversion_win, double_byte_lead_byte_at_the_very_end_is_refused) {
    EXPECT_THROW(to_wide("a\x82", 932), unmappable_character);
    EXPECT_THROW(to_wide("\x82", 932), unmappable_character);
}

TEST(conversion_win, embedded_zero_is_converted_through) {
    EXPECT_EQ(to_narrow(std::wstring(L"\u00E9\0\u00E9", 3), 1252, true), std::string("\xE9\0\xE9", 3));
    EXPECT_EQ(to_wide(std::string("\x82\xA0\0\x82\xA0", 5), 932), std::wstring(L"\u3042\0\u3042", 3));
}

// Code page 50220 is flag-capable, so the report and the invalid-sequence check are
// passed for it. Where the system has tables for it, plain ASCII converts; where it has
// none (Wine), both directions report the code page itself, never a character.
TEST(conversion_win, code_page_50220_is_converted_as_flag_capable) {
    ASSERT_TRUE(flags_allowed(50220));
    CPINFO info{};
    if (::GetCPInfo(50220, &info)) {
        EXPECT_EQ(to_narrow(L"abc", 50220, true), "abc");
        EXPECT_EQ(to_wide("abc", 50220), L"abc");
    } else {
        EXPECT_THROW(to_narrow(L"abc", 50220, true), invalid_codepage);
        EXPECT_THROW(to_wide("abc", 50220), invalid_codepage);
    }
}

}  // namespace
