// The name of the system mutex that every writer of one log file shares.
#pragma once

#include <cstddef>
#include <string>

namespace replay::log {

// Longest name this returns: room is left for the "Global\" that the mutex puts in
// front, within the system's limit of 260 characters for object names.
constexpr std::size_t max_log_mutex_name_length = 240;

// "log-" followed by `full_base_path` (a log's base name as a full path) upper-cased in
// ASCII, with backslashes turned into slashes, since a backslash would make the rest a
// namespace. Spellings of one path that differ only in ASCII case or in the kind of
// slash give the same name, as the file system treats them as one file. When that text
// is longer than max_log_mutex_name_length, it is "log-" followed by 16 hexadecimal
// digits of a 64-bit FNV-1a hash of that text instead.
std::string log_mutex_name(const std::string& full_base_path);

}  // namespace replay::log
