// Console detection on Windows: only a console has a console mode.
#include "tools/packer/progress.hpp"

#include "support/win/windows.hpp"

namespace tools {

bool standard_error_is_terminal() {
    DWORD mode = 0;
    return ::GetConsoleMode(::GetStdHandle(STD_ERROR_HANDLE), &mode) != 0;
}

}  // namespace tools
