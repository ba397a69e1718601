// How a failed conversion's system error code becomes a replay::unicode error. The two
// directions read the same codes differently.
#pragma once

#include <cstdint>

namespace replay::unicode::detail {

// Win32 error codes that the code-page services report.
constexpr std::uint32_t error_invalid_parameter = 87;
constexpr std::uint32_t error_insufficient_buffer = 122;
constexpr std::uint32_t error_no_unicode_translation = 1113;

// Wide to narrow: 122 out_of_memory, 87 unmappable_character, otherwise generic.
[[noreturn]] void throw_narrow_failure(std::uint32_t error_code);

// Narrow to wide: 122 out_of_memory, 87 invalid_codepage, 1113 unmappable_character,
// otherwise generic.
[[noreturn]] void throw_wide_failure(std::uint32_t error_code);

}  // namespace replay::unicode::detail
