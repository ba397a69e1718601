// The few file operations that reading and writing containers need, behind an interface:
// the system's files on Windows and POSIX, and files in memory for tests.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

namespace container {

// An open file with a current position. Every call that fails leaves error() holding
// the system's error code for it (Win32 error code or errno); the code stays until the
// next failure. Destruction closes the file.
class file {
public:
    virtual ~file() = default;

    // The file's size in bytes.
    virtual bool size(std::uint64_t& bytes) = 0;

    // Moves the position to `position` bytes from the start of the file.
    virtual bool seek(std::uint64_t position) = 0;

    // Reads exactly `count` bytes at the position and moves past them. Fails, as a read
    // error, when fewer than `count` bytes are there.
    virtual bool read(void* buffer, std::size_t count) = 0;

    // Writes all `count` bytes at the position and moves past them; a short write fails.
    virtual bool write(const void* data, std::size_t count) = 0;

    // Closes the file, reporting whether the system accepted its last writes; closing
    // again does nothing and succeeds.
    virtual bool close() = 0;

    std::uint32_t error() const { return error_; }

protected:
    std::uint32_t error_ = 0;
};

enum class create_mode {
    replace,   // an existing file of the name is replaced
    new_only,  // fails when the name exists
};

class file_system {
public:
    virtual ~file_system() = default;

    // Opens an existing file for reading, sharing it for reading only: while it is open,
    // nobody can write, replace or delete it. Null on failure.
    virtual std::unique_ptr<file> open_read(const std::string& path) = 0;

    // Creates a file for writing, shared for reading only. Null on failure.
    virtual std::unique_ptr<file> create(const std::string& path, create_mode mode) = 0;

    // Deletes a file.
    virtual bool remove(const std::string& path) = 0;

    // Renames `from` to `to`, replacing a file called `to`.
    virtual bool rename(const std::string& from, const std::string& to) = 0;

    // The error code of the last of this object's own calls that failed.
    std::uint32_t error() const { return error_; }

    // The system's code for "this file name is not valid", reported for stored file names
    // that are refused before any system call.
    virtual std::uint32_t invalid_name_error() const = 0;

protected:
    std::uint32_t error_ = 0;
};

// The system's files: CreateFileA and its relatives on Windows, file descriptors
// elsewhere. Paths are narrow text in the system's ANSI code page (Windows) or bytes.
file_system& native_file_system();

}  // namespace container
