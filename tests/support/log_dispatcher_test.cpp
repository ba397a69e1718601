// The log dispatcher: thresholds, order of delivery, stamps, failing listeners,
// re-entry, and several threads logging at once.
#include "support/log/dispatcher.hpp"
#include "support/log/memory_listener.hpp"

#include <gtest/gtest.h>

#include <chrono>
#include <future>
#include <memory>
#include <regex>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

namespace {

namespace log = replay::log;
using entries = std::vector<log::memory_listener::entry>;

// Writes its name into a journal shared with other listeners, to show the order of
// delivery, and keeps the stamps it is given.
class journal_listener final : public log::listener {
public:
    journal_listener(std::string name, std::vector<std::string>& journal)
        : name_(std::move(name)), journal_(&journal) {}

    void write(std::int32_t, const std::string& stamp, const std::string&) override {
        journal_->push_back(name_);
        stamps.push_back(stamp);
    }

    std::vector<std::string> stamps;

private:
    std::string name_;
    std::vector<std::string>* journal_;
};

class failing_listener final : public log::listener {
public:
    void write(std::int32_t, const std::string&, const std::string&) override {
        throw std::runtime_error("listener failed");
    }
};

// Logs every entry it gets at level 0 to `target` once more, on the same thread.
class echo_listener final : public log::listener {
public:
    explicit echo_listener(log::dispatcher& target) : target_(&target) {}
    void write(std::int32_t level, const std::string&, const std::string& text) override {
        if (level > 0)
            target_->log(0, L"echo " + std::wstring(text.begin(), text.end()));
    }

private:
    log::dispatcher* target_;
};

// Logs one entry at every level from 0 to 5; level 5 inside a handler.
void log_every_level(log::dispatcher& dispatcher) {
    for (std::int32_t level = 0; level < 5; ++level)
        dispatcher.log(level, L"entry " + std::to_wstring(level));
    try {
        throw std::runtime_error("x");
    } catch (...) {
        dispatcher.log(5, L"entry 5");
    }
}

TEST(dispatcher, delivers_to_thresholds_at_or_below_the_level) {
    log::dispatcher dispatcher;
    std::vector<log::memory_listener*> by_threshold;
    for (std::int32_t threshold = 0; threshold <= 5; ++threshold)
        by_threshold.push_back(&dispatcher.add(threshold, std::make_unique<log::memory_listener>()));

    log_every_level(dispatcher);

    // Level 3 reaches thresholds 0 to 3 only; threshold 5 gets the level-5 entry only.
    for (std::int32_t threshold = 0; threshold <= 5; ++threshold) {
        entries expected;
        for (std::int32_t level = threshold; level < 5; ++level)
            expected.push_back({level, "entry " + std::to_string(level)});
        expected.push_back({5, "entry 5 exception: x"});
        EXPECT_EQ(by_threshold[threshold]->entries(), expected) << "threshold " << threshold;
    }
}

TEST(dispatcher, thresholds_compare_as_signed_numbers) {
    log::dispatcher dispatcher;
    auto& below_all = dispatcher.add(-1, std::make_unique<log::memory_listener>());
    auto& above_all = dispatcher.add(6, std::make_unique<log::memory_listener>());
    dispatcher.log(0, L"zero");
    EXPECT_EQ(below_all.entries(), (entries{{0, "zero"}}));
    EXPECT_TRUE(above_all.entries().empty());
}

TEST(dispatcher, serves_the_highest_threshold_first_and_the_latest_of_a_threshold_first) {
    log::dispatcher dispatcher;
    std::vector<std::string> journal;
    dispatcher.add(0, std::make_unique<journal_listener>("t0", journal));
    dispatcher.add(2, std::make_unique<journal_listener>("t2 first", journal));
    dispatcher.add(4, std::make_unique<journal_listener>("t4", journal));
    dispatcher.add(2, std::make_unique<journal_listener>("t2 second", journal));
    dispatcher.add(1, std::make_unique<journal_listener>("t1", journal));

    dispatcher.log(3, L"x");

    EXPECT_EQ(journal, (std::vector<std::string>{"t2 second", "t2 first", "t1", "t0"}));
}

TEST(dispatcher, stamps_with_date_time_and_the_level_mark) {
    log::dispatcher dispatcher;
    std::vector<std::string> journal;
    auto& listener = dispatcher.add(0, std::make_unique<journal_listener>("all", journal));

    dispatcher.log(1, L"blank mark");
    dispatcher.log(3, L"bang");

    ASSERT_EQ(listener.stamps.size(), 2u);
    // A blank mark: the seconds are followed by four blanks.
    EXPECT_TRUE(std::regex_match(listener.stamps[0],
                                 std::regex(R"(\d{4}/\d\d/\d\d \d\d:\d\d:\d\d    )")))
        << "[" << listener.stamps[0] << "]";
    EXPECT_TRUE(std::regex_match(listener.stamps[1],
                                 std::regex(R"(\d{4}/\d\d/\d\d \d\d:\d\d:\d\d !  )")))
        << "[" << listener.stamps[1] << "]";
}

TEST(dispatcher, passes_text_on_as_utf8) {
    log::dispatcher dispatcher;
    auto& memory = dispatcher.add(0, std::make_unique<log::memory_listener>());
    dispatcher.log(2, L"caf\u00e9 \u20ac \u4e00");
    EXPECT_EQ(memory.entries(), (entries{{2, "caf\xC3\xA9 \xE2\x82\xAC \xE4\xB8\x80"}}));
}

TEST(dispatcher, refuses_levels_without_a_mark) {
    log::dispatcher dispatcher;
    auto& memory = dispatcher.add(-10, std::make_unique<log::memory_listener>());
    EXPECT_THROW(dispatcher.log(6, L"six"), std::out_of_range);
    EXPECT_THROW(dispatcher.log(-1, L"minus one"), std::out_of_range);
    EXPECT_TRUE(memory.entries().empty());
}

TEST(dispatcher, a_failing_listener_stops_the_entry_and_releases_the_lock) {
    log::dispatcher dispatcher;
    auto& high = dispatcher.add(4, std::make_unique<log::memory_listener>());
    dispatcher.add(2, std::make_unique<failing_listener>());
    auto& low = dispatcher.add(0, std::make_unique<log::memory_listener>());

    EXPECT_THROW(dispatcher.log(4, L"first"), std::runtime_error);
    EXPECT_EQ(high.entries(), (entries{{4, "first"}}));
    EXPECT_TRUE(low.entries().empty());

    // Another thread can deliver only if the failed call let go of the lock. A lock left
    // held would block it for good, so the wait has a (generous) end.
    auto delivered = std::async(std::launch::async, [&] { dispatcher.log(1, L"second"); });
    ASSERT_EQ(delivered.wait_for(std::chrono::minutes(2)), std::future_status::ready)
        << "the dispatcher's lock was left held";
    delivered.get();
    EXPECT_EQ(low.entries(), (entries{{1, "second"}}));
}

TEST(dispatcher, a_listener_may_log_to_its_own_dispatcher_on_the_same_thread) {
    log::dispatcher dispatcher;
    auto& memory = dispatcher.add(0, std::make_unique<log::memory_listener>());
    dispatcher.add(3, std::make_unique<echo_listener>(dispatcher));

    dispatcher.log(3, L"x");

    EXPECT_EQ(memory.entries(), (entries{{0, "echo x"}, {3, "x"}}));
}

TEST(dispatcher, removed_listeners_come_back_and_get_nothing_more) {
    log::dispatcher dispatcher;
    auto& memory = dispatcher.add(0, std::make_unique<log::memory_listener>());
    dispatcher.log(1, L"before");

    std::unique_ptr<log::listener> removed = dispatcher.remove(memory);
    ASSERT_EQ(removed.get(), &memory);
    dispatcher.log(1, L"after");
    EXPECT_EQ(memory.entries(), (entries{{1, "before"}}));

    EXPECT_EQ(dispatcher.remove(memory), nullptr);
}

TEST(dispatcher, delivers_every_entry_of_several_threads_once) {
    log::dispatcher dispatcher;
    auto& memory = dispatcher.add(0, std::make_unique<log::memory_listener>());
    constexpr int threads = 4;
    constexpr int per_thread = 250;

    std::vector<std::thread> writers;
    for (int t = 0; t < threads; ++t) {
        writers.emplace_back([&dispatcher, t] {
            for (int n = 0; n < per_thread; ++n)
                dispatcher.log(1, std::to_wstring(t) + L":" + std::to_wstring(n));
        });
    }
    for (std::thread& writer : writers)
        writer.join();

    // Each thread's entries arrive whole, once each and in that thread's order.
    std::vector<int> next(threads, 0);
    for (const auto& entry : memory.entries()) {
        const auto colon = entry.text.find(':');
        ASSERT_NE(colon, std::string::npos) << entry.text;
        const int t = std::stoi(entry.text.substr(0, colon));
        EXPECT_EQ(std::stoi(entry.text.substr(colon + 1)), next.at(t)) << entry.text;
        ++next.at(t);
    }
    EXPECT_EQ(next, std::vector<int>(threads, per_thread));
}

}  // namespace
