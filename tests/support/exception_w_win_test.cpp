// The narrowing of a wide error object through the system's ANSI code page.
#include "support/exceptions/exception_w.hpp"
#include "support/win/windows.hpp"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(exception_w_win, character_the_ansi_code_page_lacks_becomes_its_default_character) {
    CPINFO info{};
    ASSERT_TRUE(::GetCPInfo(CP_ACP, &info));
    ASSERT_EQ(info.MaxCharSize, 1u) << "needs an ANSI code page without CJK ideographs";
    const char fallback = static_cast<char>(info.DefaultChar[0]);

    const replay::exception_w e(L"x%lsy", L"\u4E00");
    EXPECT_EQ(std::string(e.what()), std::string("[x") + fallback + "y]");
    EXPECT_EQ(std::string(e.message()), std::string("x") + fallback + "y");
    EXPECT_STREQ(e.what_w(), L"[x\u4E00y]");
    EXPECT_STREQ(e.message_w(), L"x\u4E00y");
}

}  // namespace
