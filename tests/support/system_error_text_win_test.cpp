#include "support/text/system_error_text.hpp"

#include <gtest/gtest.h>

namespace {

TEST(system_error_text, gives_the_system_sentence_without_its_line_break) {
    const std::string text = replay::system_error_text(2);  // ERROR_FILE_NOT_FOUND
    ASSERT_FALSE(text.empty());
    EXPECT_NE(text.find("ile"), std::string::npos) << text;  // "file" or "File"
    EXPECT_NE(text.back(), '\n');
    EXPECT_NE(text.back(), '\r');
}

TEST(system_error_text, code_without_a_message_gives_empty_text) {
    EXPECT_EQ(replay::system_error_text(0x2FFFFFFF), "");
}

}  // namespace
