// The stamp in front of every log line: local date and time to the second and the
// level's mark.
#pragma once

#include <cstdint>
#include <string>

namespace replay::log {

// A calendar time as the system clock gives it in local time.
struct local_time {
    int year = 0;
    int month = 0;  // 1 to 12
    int day = 0;    // 1 to 31
    int hour = 0;
    int minute = 0;
    int second = 0;
};

// The current local time, to the second.
local_time current_local_time();

// "yyyy/mm/dd hh:mm:ss M  ": the time, the level's mark M and two blanks; 23 characters
// for years 1000 to 9999. A level outside 0 to 5 throws std::out_of_range.
std::string make_stamp(const local_time& time, std::int32_t level);

}  // namespace replay::log
