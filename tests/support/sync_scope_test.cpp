// The guard of the lock family, and the in-process lock.
#include "support/sync/mutex.hpp"
#include "support/sync/scope.hpp"

#include <gtest/gtest.h>

#include <stdexcept>
#include <thread>
#include <vector>

namespace {

// A lock of the family that counts what it is asked to do.
class counting_lock final : public replay::scope_semantics {
public:
    void lock() override { ++locks; }
    void unlock() override {
        ++unlocks;
        if (refuse_unlock)
            throw std::runtime_error("refused");
    }
    int locks = 0;
    int unlocks = 0;
    bool refuse_unlock = false;
};

TEST(scope, locks_on_construction_and_unlocks_on_destruction) {
    counting_lock target;
    {
        replay::scope guard(&target);
        EXPECT_EQ(target.locks, 1);
        EXPECT_EQ(target.unlocks, 0);
    }
    EXPECT_EQ(target.locks, 1);
    EXPECT_EQ(target.unlocks, 1);
}

TEST(scope, explicit_unlock_is_not_repeated_by_the_destructor) {
    counting_lock target;
    {
        replay::scope guard(&target);
        guard.unlock();
        EXPECT_EQ(target.unlocks, 1);
        guard.unlock();
        guard.lock();
    }
    EXPECT_EQ(target.locks, 1);
    EXPECT_EQ(target.unlocks, 1);
}

TEST(scope, lock_is_passed_on_while_holding) {
    counting_lock target;
    {
        replay::scope guard(&target);
        guard.lock();
        EXPECT_EQ(target.locks, 2);
    }
    EXPECT_EQ(target.unlocks, 1);
}

TEST(scope, null_target_does_nothing) {
    replay::scope guard(nullptr);
    guard.lock();
    guard.unlock();
}

TEST(scope, refused_release_passes_on_from_unlock_and_is_dropped_by_the_destructor) {
    counting_lock target;
    target.refuse_unlock = true;
    {
        replay::scope guard(&target);
        EXPECT_THROW(guard.unlock(), std::runtime_error);
    }
    EXPECT_EQ(target.unlocks, 1);
    {
        replay::scope guard(&target);
    }
    EXPECT_EQ(target.unlocks, 2);
}

TEST(scope, releases_when_an_exception_passes) {
    counting_lock target;
    try {
        replay::scope guard(&target);
        throw std::runtime_error("passing");
    } catch (const std::runtime_error&) {
    }
    EXPECT_EQ(target.unlocks, 1);
}

TEST(mutex, holding_thread_may_lock_again) {
    replay::mutex lock;
    replay::scope outer(&lock);
    replay::scope inner(&lock);
    inner.unlock();
    outer.unlock();
}

// Threads that each add to a plain counter under the lock lose no addition.
TEST(mutex, serialises_threads) {
    replay::mutex lock;
    long counter = 0;
    constexpr int thread_count = 4;
    constexpr int rounds = 20000;
    std::vector<std::thread> threads;
    for (int t = 0; t < thread_count; ++t) {
        threads.emplace_back([&] {
            for (int i = 0; i < rounds; ++i) {
                replay::scope outer(&lock);
                replay::scope inner(&lock);
                const long seen = counter;
                std::this_thread::yield();
                counter = seen + 1;
            }
        });
    }
    for (std::thread& thread : threads)
        thread.join();
    EXPECT_EQ(counter, long{thread_count} * rounds);
}

}  // namespace
