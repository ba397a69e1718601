#include "support/text/format.hpp"
#include "support/text/format_buffer.hpp"

#include <gtest/gtest.h>

namespace {

// In the "C" locale a wide character above 127 has no narrow form: the formatter fails
// with an encoding error, which must end the formatting instead of growing the buffer.
TEST(format_text, unencodable_argument_is_an_error_not_endless_growth) {
    EXPECT_THROW(replay::format_text("%ls", L"\u0100"), replay::format_failure);
    EXPECT_THROW(replay::format_text_w(L"%s", "\xff"), replay::format_failure);
}

}  // namespace
