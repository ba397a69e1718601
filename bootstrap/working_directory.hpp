// The per-run working directory under the temporary folder: its name, its parent
// folder, and the removal of a whole directory tree.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace bootstrap {

// The folder used when the system names no temporary folder.
inline constexpr std::string_view fallback_temp_folder = "C:\\Temp\\";

// How many consecutive numbers are tried when a directory of that name exists already.
inline constexpr int working_directory_attempts = 100;

// The number in the directory's name: the low 32 bits of the seconds since 1970,
// read as a signed number.
std::int32_t run_number(std::int64_t seconds_since_1970);

// temp_folder + "QZV" + the number in decimal + a backslash. `temp_folder` must end
// with a separator; none is added.
std::string working_directory_name(std::string_view temp_folder, std::int32_t number);

// The working directory path without its final backslash and the name after the last
// backslash before it: C:\Temp\QZV42\ gives C:\Temp, D:\QZV42\ gives D:. Without such
// a backslash, the whole path.
std::string parent_folder(std::string_view working_directory);

// --- Windows services (working_directory_win.cpp) ---

// The system's temporary folder (ending with a backslash), or empty text when the
// system fails or the path does not fit in 260 characters.
std::string temp_folder_path();

// Creates the folder itself (not its parents); the outcome is not examined.
void create_folder(const std::string& path);

// Creates a new working directory under `temp_folder`, starting with `number` and trying
// the next numbers while a directory of that name exists already, so that a directory
// that someone else made is never used. When the process is elevated, only SYSTEM and
// the Administrators group may write to it. Returns its path, or nothing when no
// directory could be created.
std::optional<std::string> create_working_directory(const std::string& temp_folder, std::int32_t number);

// Removes the tree at `path` (with or without a trailing separator), depth first:
// files are deleted, directories whose names begin with a dot are left alone, links to
// directories are removed themselves and never entered. Failures are ignored; returns
// whether the directory itself was removed at the end.
bool remove_tree(const std::string& path);

}  // namespace bootstrap
