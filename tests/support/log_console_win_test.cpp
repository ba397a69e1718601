// The console listener in the system's OEM code page: characters it lacks become "?",
// the rest of the text is converted.
#include "support/log/console_listener.hpp"
#include "support/win/windows.hpp"

#include <gtest/gtest.h>

#include <sstream>
#include <string>

namespace {

namespace log = replay::log;

// The OEM form of one character straight from the system, or "" when it has none.
std::string oem_form(wchar_t c) {
    char buffer[8] = {};
    BOOL defaulted = FALSE;
    const int length = ::WideCharToMultiByte(CP_OEMCP, 0, &c, 1, buffer, sizeof buffer, nullptr,
                                             &defaulted);
    return length > 0 && !defaulted ? std::string(buffer, static_cast<std::size_t>(length)) : "";
}

TEST(console_listener_oem, writes_a_character_the_code_page_lacks_as_a_question_mark) {
    // U+00E9 has a form in the Western OEM code pages; U+4E00 has none in a single-byte one.
    const std::string e_acute = oem_form(L'\u00e9');
    if (e_acute.empty() || !oem_form(L'\u4e00').empty())
        GTEST_SKIP() << "the OEM code page " << ::GetOEMCP() << " does not fit this test";

    std::ostringstream out;
    log::console_listener console(out);
    console.write(1, "S ", "caf\xC3\xA9 \xE4\xB8\x80 end");
    EXPECT_EQ(out.str(), "S caf" + e_acute + " ? end\n");
}

TEST(console_listener_oem, each_half_of_a_surrogate_pair_becomes_a_question_mark) {
    if (oem_form(L'\u4e00').size() != 0)
        GTEST_SKIP() << "the OEM code page " << ::GetOEMCP() << " is not single-byte";
    // U+1F600 arrives as two 16-bit units, neither of which converts alone.
    EXPECT_EQ(log::to_console_text("a\xF0\x9F\x98\x80z"), "a??z");
}

TEST(console_listener_oem, converts_text_the_code_page_can_show_whole) {
    const std::string e_acute = oem_form(L'\u00e9');
    if (e_acute.empty())
        GTEST_SKIP() << "the OEM code page " << ::GetOEMCP() << " has no e acute";
    EXPECT_EQ(log::to_console_text("\xC3\xA9t\xC3\xA9"), e_acute + "t" + e_acute);
    EXPECT_EQ(log::to_console_text(""), "");
}

}  // namespace
