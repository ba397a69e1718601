// The interface shared by the lock family: a lock that can be taken and released, so
// that one guard (replay::scope) serves every kind of lock.
#pragma once

namespace replay {

class scope_semantics {
public:
    // Takes the lock, waiting as long as necessary.
    virtual void lock() = 0;
    // Releases the lock.
    virtual void unlock() = 0;

protected:
    // Locks are owned by value by whoever makes them, never deleted through this interface.
    scope_semantics() = default;
    scope_semantics(const scope_semantics&) = default;
    scope_semantics& operator=(const scope_semantics&) = default;
    ~scope_semantics() = default;
};

}  // namespace replay
