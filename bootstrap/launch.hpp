// Launching the setup program, waiting for it and taking its exit code.
#pragma once

#include "support/report/reporter.hpp"

#include <functional>
#include <string>

namespace bootstrap {

struct launch_request {
    std::string file;        // the setup program's full path
    std::string parameters;  // its command line after its name
    std::string directory;   // its start-up folder
};

// The exit status of a run that launched something: the payload's exit code, or 1.
using exit_status = unsigned long;

// Starts the program with the default verb and a normal window and waits for it without a
// time limit. `launched` runs once the launch has been tried, before the wait. Returns the
// program's exit code; every failure is reported and gives 1.
exit_status launch_and_wait(const launch_request& request, replay::reporter& reporter,
                            const std::function<void()>& launched = [] {});

// Waits for `process` (may be null: then the wait fails) and takes its exit code; closes
// the handle. Failures are reported and give 1.
exit_status wait_for_exit(void* process, replay::reporter& reporter);

}  // namespace bootstrap
