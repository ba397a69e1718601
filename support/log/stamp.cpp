// The stamp in front of every log line.
#include "support/log/stamp.hpp"

#include "support/log/level.hpp"
#include "support/text/format.hpp"

namespace replay::log {

std::string make_stamp(const local_time& time, std::int32_t level) {
    return format_text("%.4d/%.2d/%.2d %.2d:%.2d:%.2d %c  ", time.year, time.month, time.day,
                       time.hour, time.minute, time.second, level_mark(level));
}

}  // namespace replay::log
