// The log file sink (Windows): appends entries to a log file that several processes may
// share, and rotates it into numbered copies when it reaches its maximum size.
#pragma once

#include "support/log/listener.hpp"
#include "support/sync/real_mutex.hpp"
#include "support/win/unique_handle.hpp"

#include <cstdint>
#include <string>

namespace replay::log {

class file final : public listener {
public:
    // Opens the live file `base_name` + ".log.txt" for appending, creating it when it is
    // missing; a new or empty live file gets the UTF-8 byte-order mark. Other processes
    // may open, read, write and copy it meanwhile. Every writer of the same file (in this
    // process or another) serialises on the system mutex named log_mutex_name() of the
    // base name's full path. The live file is rotated into `copies` numbered copies
    // (0: none) before a write that finds it at `max_size` bytes or more (0: before
    // every write).
    // Throws replay::exception "CreateFile failed: <live file> (<last error>)" when the
    // file cannot be opened, and what the mutex throws.
    file(const std::string& base_name, std::uint32_t max_size, std::uint32_t copies);

    // Closes the file, then releases the base name, then closes the mutex.
    ~file() override;

    file(const file&) = delete;
    file& operator=(const file&) = delete;

    // Under the mutex (waiting without limit): rotates when the live file has reached the
    // maximum size (see rotate()), then appends the stamp, the text and CR LF in one
    // write. The level is not used. File-system failures are not reported: a failed
    // write loses the line. What the mutex throws passes on.
    void write(std::int32_t level, const std::string& stamp, const std::string& text) override;

private:
    real_mutex lock_;
    std::string base_name_;
    std::uint32_t max_size_;
    std::uint32_t copies_;
    win::file_handle file_;
};

}  // namespace replay::log
