// Which stored file names may be written into the working directory.
#pragma once

#include <string_view>

namespace container {

// True when `name` names a plain file directly inside a directory on Windows: not empty,
// not "." or "..", no path separator ('\\' or '/'), no drive or stream colon, none of the
// characters Windows refuses in file names (< > " | ? * and codes below 32), no trailing
// dot or blank (Windows would drop them and write another name), and not a device name
// (CON, PRN, AUX, NUL, COM1-9, LPT1-9, with or without an extension), which would write
// to a device instead of a file. Only such a name can never reach outside the directory.
bool is_plain_file_name(std::string_view name);

}  // namespace container
