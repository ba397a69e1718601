// Hexadecimal notation of byte texts, for comparing digests with published values.
#pragma once

#include <string>

namespace container_test {

inline std::string to_hex(const std::string& bytes) {
    static const char digits[] = "0123456789abcdef";
    std::string hex;
    for (unsigned char byte : bytes) {
        hex += digits[byte >> 4];
        hex += digits[byte & 15];
    }
    return hex;
}

}  // namespace container_test
