// The C library's message text for an errno value, standing in for the Windows message table.
#include "support/text/system_error_text.hpp"

#include <cstring>

namespace replay {

std::string system_error_text(std::uint32_t code) {
    const char* text = std::strerror(static_cast<int>(code));
    return text ? std::string(text) : std::string();
}

}  // namespace replay
