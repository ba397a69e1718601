// printf-style formatting into a new string, narrow and wide.
#pragma once

#include <cstdarg>
#include <string>

namespace replay {

// Formats with the runtime library's printf language. The result's length is the
// formatter's count, so a "%c" given 0 leaves a zero character in the text.
// Throws std::bad_alloc when the buffer cannot grow and replay::format_failure when the
// formatter fails for another reason (an argument that cannot be encoded).
std::string format_text(const char* format, ...);
std::string vformat_text(const char* format, std::va_list args);
std::wstring format_text_w(const wchar_t* format, ...);
std::wstring vformat_text_w(const wchar_t* format, std::va_list args);

}  // namespace replay
