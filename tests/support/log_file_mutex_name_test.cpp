// The name of the system mutex shared by the writers of one log file.
#include "support/log/file_mutex_name.hpp"

#include <gtest/gtest.h>

#include <string>

namespace {

namespace log = replay::log;

TEST(log_mutex_name, is_the_path_without_backslashes_in_upper_case) {
    EXPECT_EQ(log::log_mutex_name("C:\\Logs\\Setup"), "log-C:/LOGS/SETUP");
    EXPECT_EQ(log::log_mutex_name("\\\\server\\share\\x"), "log-//SERVER/SHARE/X");
}

TEST(log_mutex_name, spellings_of_one_path_share_a_name) {
    EXPECT_EQ(log::log_mutex_name("c:\\logs/setup"), log::log_mutex_name("C:\\LOGS\\Setup"));
    EXPECT_NE(log::log_mutex_name("C:\\logs\\setup"), log::log_mutex_name("C:\\logs\\setup2"));
}

TEST(log_mutex_name, a_long_path_gives_a_short_hashed_name) {
    const std::string longest(log::max_log_mutex_name_length - 4, 'a');
    EXPECT_EQ(log::log_mutex_name(longest), "log-" + std::string(longest.size(), 'A'));

    const std::string longer = longest + "b";
    const std::string name = log::log_mutex_name(longer);
    EXPECT_EQ(name.size(), 4u + 16u) << name;
    EXPECT_EQ(name.rfind("log-", 0), 0u) << name;
    EXPECT_EQ(name.find_first_not_of("0123456789abcdef", 4), std::string::npos) << name;
    EXPECT_EQ(log::log_mutex_name(longest + "B"), name);
    EXPECT_NE(log::log_mutex_name(longest + "c"), name);
}

}  // namespace
