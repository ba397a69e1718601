// The run sequence: the whole life of the bootstrapper from its command text to its
// exit status.
#pragma once

#include "support/win/windows.hpp"

#include <string>

namespace bootstrap {

// The name of the machine-wide lock that keeps two installations from running at once.
inline constexpr const char* single_instance_lock_name = "Tallowmere.Installation";

// Runs the installation: unpacks the container of the program's own file into a fresh
// working directory, launches the setup program there, waits for it and removes the
// directory. Returns the setup program's exit code, or 1 for every failure, which is
// shown in a message box unless the command text holds "/s".
unsigned long run(HINSTANCE instance, const std::string& command_text);

}  // namespace bootstrap
