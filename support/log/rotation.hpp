// Rotation of a size-limited log file into numbered copies: the order of copies, moves
// and deletions, over a small interface to the file system so that the rule stands
// apart from the system calls.
#pragma once

#include <cstdint>
#include <string>

namespace replay::log {

// The live log file of a base name: base name + ".log.txt".
std::string live_file_name(const std::string& base_name);

// Copy number `number` (from 1) of a base name: base name + "." + number + ".log.txt".
std::string copy_file_name(const std::string& base_name, std::uint32_t number);

// The file operations that a rotation uses. None of them throws; failures are reported
// by the result where the rotation needs it and ignored otherwise.
class rotation_files {
public:
    virtual ~rotation_files() = default;

    // Copies the live file to `copy_name`; fails when `copy_name` already exists.
    virtual bool copy_live_to(const std::string& copy_name) = 0;
    // Moves `from` onto `to`, replacing `to` when it exists.
    virtual bool move_replacing(const std::string& from, const std::string& to) = 0;
    // Deletes a file if it can.
    virtual void remove(const std::string& name) = 0;
    // Empties the live file and writes the UTF-8 byte-order mark into it.
    virtual void empty_live() = 0;
};

// How many times a rotation searches for a free number; between two searches the copies
// are shifted down once. Two searches are enough when the files behave: the first finds
// every number taken, the second copies into the number that the shift freed. The third
// allows for another program changing the copies in between. After the last search the
// live file is emptied without a copy, so a copy that keeps failing (full disk, no write
// access) cannot hold the writer forever.
constexpr unsigned max_rotation_rounds = 3;

// Saves the live file as the newest numbered copy and empties it:
// - with `copies` 0 the live file is only emptied;
// - otherwise the lowest free number from 1 to `copies` receives the copy (with
//   `copies` 1, copy 1 is deleted first, so it is replaced every time);
// - when every number is taken, copy 2 moves onto 1, 3 onto 2 and so on up to `copies`
//   (stopping at the first move that fails) and the copy is tried again with the number
//   reached; at most max_rotation_rounds searches are made;
// - in every case the live file is emptied at the end (empty_live).
void rotate(rotation_files& files, const std::string& base_name, std::uint32_t copies);

}  // namespace replay::log
