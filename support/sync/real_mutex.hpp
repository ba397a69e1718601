// A named system mutex shared by every process that opens the same name: the
// machine-wide single-instance lock, and the lock of files that several processes write.
#pragma once

#include "support/sync/scope_semantics.hpp"
#include "support/win/unique_handle.hpp"

#include <cstdint>
#include <string>

namespace replay {

class real_mutex final : public scope_semantics {
public:
    // Creates the mutex, or opens it when it exists, under `name` prepared by
    // prepare_mutex_name for this system's version (so "x" means "Global\x"). A new mutex
    // grants every user full access, so that installations of other users share it. The
    // calling thread does not own the mutex afterwards.
    // Throws replay::exception "OpenMutex returned 0x%08x" (the last error) when no
    // handle can be had.
    explicit real_mutex(const std::string& name);

    // Closes the handle without releasing ownership: a thread that still owns the mutex
    // keeps it until it releases it or ends (then the mutex is abandoned).
    ~real_mutex();

    real_mutex(const real_mutex&) = delete;
    real_mutex& operator=(const real_mutex&) = delete;

    // Waits at most `timeout_ms` milliseconds for ownership: 0 tries once, 0xFFFFFFFF
    // waits without limit. True when the calling thread now owns the mutex, also when
    // the previous owner ended without releasing it; false when the time ran out.
    // Throws replay::exception "WaitForSingleObject returned 0x%08x" (the last error)
    // when the wait fails, e.g. on a handle opened without the right to wait.
    bool acquire(std::uint32_t timeout_ms);

    // acquire() without a time limit.
    void lock() override;

    // Releases ownership. Throws replay::exception "ReleaseMutex returned 0x%08x" (the
    // last error; 0x00000120 when the calling thread is not the owner).
    void unlock() override;

private:
    win::kernel_handle handle_;
};

}  // namespace replay
