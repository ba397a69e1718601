// A lock within one process, re-entrant for the thread that holds it.
#pragma once

#include "support/sync/scope_semantics.hpp"

// The lock's storage: a critical section on Windows, a recursive mutex elsewhere.
#if defined(_WIN32)
#include "support/win/windows.hpp"
#else
#include <mutex>
#endif

namespace replay {

namespace detail {
#if defined(_WIN32)
using section = CRITICAL_SECTION;
#else
using section = std::recursive_mutex;
#endif
}  // namespace detail

class mutex final : public scope_semantics {
public:
    mutex();
    ~mutex();

    mutex(const mutex&) = delete;
    mutex& operator=(const mutex&) = delete;

    // Waits until no other thread holds the lock. The holding thread may lock again;
    // each lock() needs its own unlock().
    void lock() override;

    // Releases one lock() of the calling thread, which must hold the lock.
    void unlock() override;

private:
    detail::section section_;
};

}  // namespace replay
