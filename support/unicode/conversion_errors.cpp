// How a failed conversion's system error code becomes a replay::unicode error.
#include "support/unicode/conversion_errors.hpp"

#include "support/exceptions/unicode_errors.hpp"

#include <string>

namespace replay::unicode::detail {

void throw_narrow_failure(std::uint32_t error_code) {
    switch (error_code) {
    case error_insufficient_buffer:
        throw out_of_memory(std::string());
    case error_invalid_parameter:
        throw unmappable_character(std::string());
    default:
        throw generic(std::string());
    }
}

void throw_wide_failure(std::uint32_t error_code) {
    switch (error_code) {
    case error_insufficient_buffer:
        throw out_of_memory(std::string());
    case error_invalid_parameter:
        throw invalid_codepage(std::string());
    case error_no_unicode_translation:
        throw unmappable_character(std::string());
    default:
        throw generic(std::string());
    }
}

}  // namespace replay::unicode::detail
