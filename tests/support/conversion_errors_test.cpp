// How each system error code of a failed conversion is reported, in each direction.
#include "support/exceptions/unicode_errors.hpp"
#include "support/unicode/conversion_errors.hpp"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

namespace {

using namespace replay::unicode;

struct error_case {
    std::uint32_t code;
    const char* narrow_what;  // from a failed wide-to-narrow conversion
    const char* wide_what;    // from a failed narrow-to-wide conversion
};

class conversion_error : public testing::TestWithParam<error_case> {};

std::string what_of(void (*fail)(std::uint32_t), std::uint32_t code) {
    try {
        fail(code);
    } catch (const generic& e) {
        return e.what();
    }
    return "nothing thrown";
}

TEST_P(conversion_error, maps_to_the_direction_s_class) {
    EXPECT_EQ(what_of(detail::throw_narrow_failure, GetParam().code), GetParam().narrow_what);
    EXPECT_EQ(what_of(detail::throw_wide_failure, GetParam().code), GetParam().wide_what);
}

INSTANTIATE_TEST_SUITE_P(
    codes, conversion_error,
    testing::Values(
        error_case{122, "unicode.out_of_memory[]", "unicode.out_of_memory[]"},
        error_case{87, "unicode.unmappable_character[]", "unicode.invalid_codepage[]"},
        error_case{1113, "unicode[]", "unicode.unmappable_character[]"},
        error_case{1004, "unicode[]", "unicode[]"},  // ERROR_INVALID_FLAGS
        error_case{0, "unicode[]", "unicode[]"}));

}  // namespace
