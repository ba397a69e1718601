#include "support/text/format.hpp"
#include "support/text/format_buffer.hpp"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

namespace {

TEST(format_text, formats_with_the_printf_language) {
    EXPECT_EQ(replay::format_text("%08x|%i|%s", 0x120u, -42, "x"), "00000120|-42|x");
    EXPECT_EQ(replay::format_text_w(L"%08x|%i|%ls", 0x120u, -42, L"x"), L"00000120|-42|x");
}

TEST(format_text, keeps_zero_characters_from_c_format) {
    const std::string text = replay::format_text("%c%c%c%c", 'a', 0, 'b', 0);
    EXPECT_EQ(text, std::string("a\0b\0", 4));
    EXPECT_EQ(replay::format_text_w(L"%c%c", L'a', 0), std::wstring(L"a\0", 2));
}

// The growth rule seen through the buffer itself: which room each attempt was given.
std::vector<std::size_t> rooms_for_length(std::size_t length) {
    std::vector<std::size_t> rooms;
    const std::string result = replay::detail::grow_format<char>([&](char* buffer, std::size_t size) {
        rooms.push_back(size - 1);
        std::memset(buffer, 'x', std::min(size - 1, length));
        return static_cast<int>(length);
    });
    EXPECT_EQ(result, std::string(length, 'x'));
    return rooms;
}

TEST(format_growth, exactly_1024_characters_fit_without_growing) {
    EXPECT_EQ(rooms_for_length(1024), (std::vector<std::size_t>{1024}));
}

TEST(format_growth, characters_past_1024_double_the_room) {
    EXPECT_EQ(rooms_for_length(1025), (std::vector<std::size_t>{1024, 2048}));
    EXPECT_EQ(rooms_for_length(4097), (std::vector<std::size_t>{1024, 8192}));
}

TEST(format_growth, long_texts_are_kept_whole) {
    const std::string long_arg(5000, 'q');
    EXPECT_EQ(replay::format_text("<%s>", long_arg.c_str()), "<" + long_arg + ">");
    const std::wstring long_wide(5000, L'q');
    EXPECT_EQ(replay::format_text_w(L"<%ls>", long_wide.c_str()), L"<" + long_wide + L">");
}

TEST(format_growth, an_unsized_failure_doubles_only_up_to_a_bound) {
    std::size_t attempts = 0;
    EXPECT_THROW(replay::detail::grow_format<wchar_t>([&](wchar_t*, std::size_t) {
                     ++attempts;
                     return -1;
                 }),
                 replay::format_failure);
    EXPECT_EQ(attempts, 15u);  // 1024 doubled up to 2^24
}

TEST(format_growth, an_encoding_error_is_reported_at_once) {
    std::size_t attempts = 0;
    EXPECT_THROW(replay::detail::grow_format<char>([&](char*, std::size_t) {
                     ++attempts;
                     errno = EILSEQ;
                     return -1;
                 }),
                 replay::format_failure);
    EXPECT_EQ(attempts, 1u);
}

}  // namespace
