// A minimal PE32+ image header for the stub checks: enough headers for the security
// directory to be found, nothing to run.
#pragma once

#include <cstdint>
#include <string>

namespace tools_test {

inline std::string pe_image(std::uint32_t certificate_offset, std::uint32_t certificate_size) {
    std::string image(1024, '\0');
    auto put = [&image](std::size_t at, std::uint32_t value, int bytes) {
        for (int k = 0; k < bytes; ++k)
            image[at + k] = static_cast<char>(value >> (8 * k));
    };
    image[0] = 'M';
    image[1] = 'Z';
    put(0x3c, 0x80, 4);                  // e_lfanew
    image.replace(0x80, 4, std::string("PE\0\0", 4));
    put(0x84 + 16, 240, 2);              // SizeOfOptionalHeader
    const std::size_t optional = 0x84 + 20;
    put(optional, 0x20b, 2);             // PE32+
    put(optional + 108, 16, 4);          // NumberOfRvaAndSizes
    put(optional + 112 + 4 * 8, certificate_offset, 4);
    put(optional + 112 + 4 * 8 + 4, certificate_size, 4);
    return image;
}

}  // namespace tools_test
