// The run's reporter: MessageBoxA, or nothing in silent mode.
#include "bootstrap/message_box_reporter.hpp"

#include "support/win/windows.hpp"

namespace bootstrap {

void message_box_reporter::report(const std::string& caption, const std::string& text) {
    if (!silent_)
        ::MessageBoxA(nullptr, text.c_str(), caption.c_str(), MB_OK);
}

}  // namespace bootstrap
