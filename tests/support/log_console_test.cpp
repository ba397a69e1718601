// The console listener's line layout, with text that every console code page can show.
#include "support/log/console_listener.hpp"
#include "support/log/dispatcher.hpp"

#include <gtest/gtest.h>

#include <memory>
#include <sstream>

namespace {

namespace log = replay::log;

TEST(console_listener, writes_stamp_text_and_a_line_end) {
    std::ostringstream out;
    log::console_listener console(out);
    console.write(2, "2024/03/07 09:05:02 +  ", "plain text");
    console.write(0, "S ", "");
    EXPECT_EQ(out.str(), "2024/03/07 09:05:02 +  plain text\nS \n");
}

TEST(console_listener, takes_entries_from_a_dispatcher) {
    std::ostringstream out;
    log::dispatcher dispatcher;
    dispatcher.add(0, std::make_unique<log::console_listener>(out));
    dispatcher.log(4, L"from the dispatcher");
    const std::string line = out.str();
    ASSERT_EQ(line.size(), 23u + 19u + 1u) << line;
    EXPECT_EQ(line.substr(19), " >  from the dispatcher\n");
}

}  // namespace
