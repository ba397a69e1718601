// The installer tool's commands: build, list, verify and extract.
#pragma once

#include "container/file_system.hpp"

#include <ostream>
#include <string>
#include <vector>

namespace tools {

// Where a command's output goes and what it runs on.
struct tool_context {
    std::ostream& out;
    std::ostream& err;
    container::file_system& files;
    bool terminal = false;  // standard error is a terminal: show progress for big inputs
};

// Exit statuses of the tool.
constexpr int status_ok = 0;
constexpr int status_failed = 1;  // a refusal, a damaged installer, a failed extraction
constexpr int status_usage = 2;   // the command line was not understood

// Runs the tool with `args` (without the program name). Returns the exit status.
int run_packer(const std::vector<std::string>& args, tool_context& context);

}  // namespace tools
