// The current local time from the Windows clock.
#include "support/log/stamp.hpp"

#include "support/win/windows.hpp"

namespace replay::log {

local_time current_local_time() {
    SYSTEMTIME now;
    ::GetLocalTime(&now);
    return {now.wYear, now.wMonth, now.wDay, now.wHour, now.wMinute, now.wSecond};
}

}  // namespace replay::log
