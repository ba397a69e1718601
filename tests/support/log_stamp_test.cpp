// Log levels, their marks and the stamp in front of every log line.
#include "support/log/level.hpp"
#include "support/log/stamp.hpp"

#include <gtest/gtest.h>

#include <string>

namespace {

namespace log = replay::log;

struct stamp_case {
    log::local_time time;
    std::int32_t level;
    const char* stamp;
};

class make_stamp : public testing::TestWithParam<stamp_case> {};

TEST_P(make_stamp, shows_date_time_mark_and_two_blanks) {
    const std::string stamp = log::make_stamp(GetParam().time, GetParam().level);
    EXPECT_EQ(stamp, GetParam().stamp);
    EXPECT_EQ(stamp.size(), 23u);
}

INSTANTIATE_TEST_SUITE_P(
    levels, make_stamp,
    testing::Values(stamp_case{{2024, 3, 7, 9, 5, 2}, 0, "2024/03/07 09:05:02 #  "},
                    // The blank mark: the seconds are followed by four blanks.
                    stamp_case{{2024, 3, 7, 9, 5, 2}, 1, "2024/03/07 09:05:02    "},
                    stamp_case{{1999, 12, 31, 23, 59, 59}, 2, "1999/12/31 23:59:59 +  "},
                    stamp_case{{2000, 1, 1, 0, 0, 0}, 3, "2000/01/01 00:00:00 !  "},
                    stamp_case{{2031, 10, 10, 10, 10, 10}, 4, "2031/10/10 10:10:10 >  "},
                    stamp_case{{2024, 2, 29, 12, 0, 7}, 5, "2024/02/29 12:00:07 @  "}));

TEST(current_local_time, gives_a_calendar_time) {
    const log::local_time now = log::current_local_time();
    EXPECT_GE(now.year, 2000);
    EXPECT_GE(now.month, 1);
    EXPECT_LE(now.month, 12);
    EXPECT_GE(now.day, 1);
    EXPECT_LE(now.day, 31);
    EXPECT_LE(now.hour, 23);
    EXPECT_LE(now.minute, 59);
    EXPECT_LE(now.second, 60);
}

}  // namespace
