#include "support/text/strings.hpp"

#include <gtest/gtest.h>

namespace {

struct switch_case {
    const char* text;
    bool found;
};

class has_switch_s : public testing::TestWithParam<switch_case> {};

TEST_P(has_switch_s, finds_lower_case_s_anywhere) {
    EXPECT_EQ(replay::has_switch("/s", GetParam().text), GetParam().found) << GetParam().text;
}

INSTANTIATE_TEST_SUITE_P(cases, has_switch_s,
                         testing::Values(switch_case{"/s", true}, switch_case{"/silent", true},
                                         switch_case{"x/sy", true}, switch_case{"C:/setup", true},
                                         switch_case{"/S /s", true}, switch_case{"/S", false},
                                         switch_case{"", false}, switch_case{"/ s", false}));

TEST(has_switch, empty_switch_is_always_found) {
    EXPECT_TRUE(replay::has_switch("", ""));
    EXPECT_TRUE(replay::has_switch("", "abc"));
}

TEST(upper_copy, changes_only_a_to_z_and_keeps_length) {
    const std::string source = "/v\"a b\"\xE9\xFF{z}";
    EXPECT_EQ(replay::upper_copy(source), "/V\"A B\"\xE9\xFF{Z}");
    EXPECT_EQ(source, "/v\"a b\"\xE9\xFF{z}");
}

TEST(make_upper, changes_in_place_and_returns_the_same_text) {
    std::string text("ab\0cd", 5);
    std::string& result = replay::make_upper(text);
    EXPECT_EQ(&result, &text);
    EXPECT_EQ(text, std::string("AB\0CD", 5));
}

TEST(starts_and_ends_with, compare_bytes_exactly) {
    EXPECT_TRUE(replay::starts_with("", ""));
    EXPECT_TRUE(replay::starts_with("/V", "/V\"x\""));
    EXPECT_FALSE(replay::starts_with("/v", "/V\"x\""));
    EXPECT_FALSE(replay::starts_with("long prefix", "long"));
    EXPECT_TRUE(replay::ends_with("", "abc"));
    EXPECT_TRUE(replay::ends_with(".exe", "Setup.exe"));
    EXPECT_FALSE(replay::ends_with(".EXE", "Setup.exe"));
    EXPECT_FALSE(replay::ends_with("Setup.exe", ".exe"));
}

}  // namespace
