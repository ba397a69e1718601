// The system's message text for an error code.
#pragma once

#include <cstdint>
#include <string>

namespace replay {

// Windows: the system message table's text for a Win32 error code in the user's default
// language, without its final line break. Elsewhere: the C library's text for an errno
// value. Empty when the system has no text for the code; never throws on its own account.
std::string system_error_text(std::uint32_t code);

}  // namespace replay
