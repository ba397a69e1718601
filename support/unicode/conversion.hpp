// Conversion between narrow text in a numbered code page and wide text. Failures are
// thrown as the replay::unicode errors (support/exceptions/unicode_errors.hpp) with an
// empty message.
#pragma once

#include <cstdint>
#include <string>

namespace replay::unicode {

// Code pages by their Windows numbers.
constexpr std::uint32_t ansi_code_page = 0;  // the machine's ANSI code page (CP_ACP)
constexpr std::uint32_t oem_code_page = 1;   // the machine's OEM code page (CP_OEMCP)
constexpr std::uint32_t utf8_code_page = 65001;

// False for the code pages whose conversions take no flags and cannot report a default
// character (42, 50221, 50222, 50225, 50227, 50229, 52936, 54936, 57002 to 57011, 65000,
// 65001), true for every other number. For those, conversions neither refuse an
// unmappable character nor check the input for invalid sequences.
bool flags_allowed(std::uint32_t code_page);

// Wide text to narrow text in `code_page`. Empty text gives empty text without looking
// at the code page. strict: a character that the code page cannot represent throws
// unmappable_character; otherwise it becomes the code page's default character.
// Throws invalid_codepage for a code page that is not supported, out_of_memory when the
// output does not fit, unmappable_character as above or when the system rejects the
// request as invalid, generic for any other failure. Nothing is returned on an error.
std::string to_narrow(const std::wstring& text, std::uint32_t code_page, bool strict);

// Narrow text in `code_page` to wide text. Empty text gives empty text without looking
// at the code page. For a flag-capable code page an invalid byte sequence throws
// unmappable_character; for the others it is replaced and raises no error.
// Throws invalid_codepage for a code page that is not supported, out_of_memory when the
// output does not fit, generic for any other failure.
std::wstring to_wide(const std::string& text, std::uint32_t code_page);

}  // namespace replay::unicode
