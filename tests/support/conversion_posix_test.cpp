// Narrow/wide conversion without the Windows services: the ANSI, OEM and UTF-8 code
// pages all mean UTF-8, and the flag-capable rules still decide what an error is.
#include "support/exceptions/exception_w.hpp"
#include "support/exceptions/unicode_errors.hpp"
#include "support/unicode/conversion.hpp"

#include <gtest/gtest.h>

#include <string>

namespace {

using namespace replay::unicode;

TEST(conversion_posix, code_pages_of_the_system_encode_utf8) {
    for (std::uint32_t code_page : {ansi_code_page, oem_code_page, utf8_code_page}) {
        EXPECT_EQ(to_narrow(L"a\u00E9\u4E00\U0001F600", code_page, true), "a\xC3\xA9\xE4\xB8\x80\xF0\x9F\x98\x80");
        EXPECT_EQ(to_wide("a\xC3\xA9\xE4\xB8\x80\xF0\x9F\x98\x80", code_page), L"a\u00E9\u4E00\U0001F600");
    }
}

TEST(conversion_posix, utf16_pairs_in_wide_text_are_joined) {
    const std::wstring pair{wchar_t(0xD83D), wchar_t(0xDE00)};
    EXPECT_EQ(to_narrow(pair, utf8_code_page, true), "\xF0\x9F\x98\x80");
}

TEST(conversion_posix, lone_surrogate_is_unmappable_in_a_flag_capable_code_page) {
    const std::wstring text{L'a', wchar_t(0xD800), L'b'};
    EXPECT_THROW(to_narrow(text, ansi_code_page, true), unmappable_character);
    EXPECT_EQ(to_narrow(text, ansi_code_page, false), "a?b");
    EXPECT_EQ(to_narrow(text, utf8_code_page, true), "a\xEF\xBF\xBD" "b");
}

struct malformed_case {
    const char* label;
    std::string bytes;
    std::wstring replaced;  // what 65001 makes of it
};

void PrintTo(const malformed_case& c, std::ostream* os) { *os << c.label; }

class malformed_utf8 : public testing::TestWithParam<malformed_case> {};

TEST_P(malformed_utf8, is_refused_by_a_flag_capable_code_page_and_replaced_by_65001) {
    EXPECT_THROW(to_wide(GetParam().bytes, ansi_code_page), unmappable_character);
    EXPECT_EQ(to_wide(GetParam().bytes, utf8_code_page), GetParam().replaced);
}

INSTANTIATE_TEST_SUITE_P(
    sequences, malformed_utf8,
    testing::Values(malformed_case{"stray_continuation", "a\x80z", L"a\uFFFDz"},
                    malformed_case{"lead_at_the_end", "a\xC3", L"a\uFFFD"},
                    malformed_case{"overlong_slash", "\xC0\xAF", L"\uFFFD\uFFFD"},
                    malformed_case{"encoded_surrogate", "\xED\xA0\x80", L"\uFFFD\uFFFD\uFFFD"},
                    malformed_case{"beyond_10ffff", "\xF4\x90\x80\x80", L"\uFFFD\uFFFD\uFFFD\uFFFD"},
                    malformed_case{"invalid_byte", "\xFF", L"\uFFFD"}),
    [](const testing::TestParamInfo<malformed_case>& info) { return std::string(info.param.label); });

TEST(conversion_posix, exception_w_narrows_to_utf8) {
    const replay::exception_w e(L"caf\u00E9");
    EXPECT_STREQ(e.what(), "[caf\xC3\xA9]");
}

}  // namespace
