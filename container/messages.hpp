// The texts that both the container reader and the run show for a damaged container.
#pragma once

namespace container {

inline constexpr const char* invalid_archive_caption = "Invalid Archive!";
inline constexpr const char* invalid_archive_text =
    "We are sorry, but your installation / update did not complete due to unexpected download errors.\r\n"
    "Please download full version of the program";

}  // namespace container
