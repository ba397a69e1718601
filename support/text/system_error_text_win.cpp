// The system's message text for a Win32 error code, from FormatMessageA.
#include "support/text/system_error_text.hpp"

#include "support/win/windows.hpp"

namespace replay {

std::string system_error_text(std::uint32_t code) {
    char* buffer = nullptr;
    const DWORD flags =
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS;
    const DWORD length = ::FormatMessageA(flags, nullptr, code, MAKELANGID(LANG_NEUTRAL, SUBLANG_DEFAULT),
                                          reinterpret_cast<char*>(&buffer), 0, nullptr);
    if (length == 0 || buffer == nullptr)
        return {};
    struct free_buffer { char* b; ~free_buffer() { ::LocalFree(b); } } guard{buffer};
    // System messages end with CR LF; the text is used inside other messages.
    std::string text(buffer, length);
    if (!text.empty() && text.back() == '\n')
        text.pop_back();
    if (!text.empty() && text.back() == '\r')
        text.pop_back();
    return text;
}

}  // namespace replay
