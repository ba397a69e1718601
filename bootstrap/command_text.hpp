// The command text: the process command line after the program's own name.
#pragma once

#include <string_view>

namespace bootstrap {

// Tells whether a byte opens a two-byte character in the ANSI code page.
using lead_byte_test = bool (*)(unsigned char byte);

// Skips the program's name (a run of bytes above the blank, in which double quotes switch
// a quoted state where blanks belong to the name too; a lead byte and its follower are
// stepped over together) and then every byte from 1 to 32. The rest is the command text,
// possibly empty.
std::string_view command_text(std::string_view command_line, lead_byte_test is_lead_byte = nullptr);

}  // namespace bootstrap
