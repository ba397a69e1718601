// Terminal detection on POSIX systems.
#include "tools/packer/progress.hpp"

#include <unistd.h>

namespace tools {

bool standard_error_is_terminal() { return ::isatty(STDERR_FILENO) == 1; }

}  // namespace tools
