// printf-style formatting into a new string, narrow and wide.
#include "support/text/format.hpp"

#include "support/text/format_buffer.hpp"

#include <cstdio>
#include <cwchar>

namespace replay {

std::string format_text(const char* format, ...) {
    std::va_list args;
    va_start(args, format);
    struct end_args { std::va_list& a; ~end_args() { va_end(a); } } guard{args};
    return vformat_text(format, args);
}

std::string vformat_text(const char* format, std::va_list args) {
    return detail::grow_format<char>([&](char* buffer, std::size_t size) {
        std::va_list copy;
        va_copy(copy, args);
        const int count = std::vsnprintf(buffer, size, format, copy);
        va_end(copy);
        return count;
    });
}

std::wstring format_text_w(const wchar_t* format, ...) {
    std::va_list args;
    va_start(args, format);
    struct end_args { std::va_list& a; ~end_args() { va_end(a); } } guard{args};
    return vformat_text_w(format, args);
}

std::wstring vformat_text_w(const wchar_t* format, std::va_list args) {
    return detail::grow_format<wchar_t>([&](wchar_t* buffer, std::size_t size) {
        std::va_list copy;
        va_copy(copy, args);
        const int count = std::vswprintf(buffer, size, format, copy);
        va_end(copy);
        return count;
    });
}

}  // namespace replay
