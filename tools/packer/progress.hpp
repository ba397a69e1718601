// A progress display on standard error for long runs over big inputs: a percentage that
// rewrites itself on one line, shown only on a terminal.
#pragma once

#include <cstdint>
#include <ostream>
#include <string>

namespace tools {

// Inputs at least this large show progress (on a terminal).
constexpr std::uint64_t progress_threshold = 4u << 20;

// Whether standard error is a terminal (a console on Windows).
bool standard_error_is_terminal();

class progress {
public:
    // Shows "<label> N%" on `out` while `enabled` and `total` reaches the threshold.
    progress(std::ostream& out, bool enabled, std::string label, std::uint64_t total);
    ~progress() { finish(); }

    progress(const progress&) = delete;
    progress& operator=(const progress&) = delete;

    void advance(std::uint64_t bytes);

    // Ends the display line; further calls do nothing.
    void finish();

private:
    std::ostream& out_;
    bool shown_;
    std::string label_;
    std::uint64_t total_;
    std::uint64_t done_ = 0;
    int percent_ = -1;
};

}  // namespace tools
