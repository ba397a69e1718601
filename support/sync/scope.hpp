// A guard that holds a lock of the family from its construction until its unlock() or
// its destruction, whichever comes first, and releases it exactly once.
#pragma once

#include "support/sync/scope_semantics.hpp"

namespace replay {

class scope final : public scope_semantics {
public:
    // Locks `target` unless it is null; the guard does not own the target, which must
    // outlive it. Whatever the target's lock() throws passes on.
    explicit scope(scope_semantics* target);

    // Releases the target unless already released. A failure to release cannot be
    // reported from here and is dropped (see scope.cpp).
    ~scope();

    scope(const scope&) = delete;
    scope& operator=(const scope&) = delete;

    // Locks the target once more (each such lock needs its own release by the target's
    // owner; the guard itself releases once). Does nothing after unlock().
    void lock() override;

    // Releases the target and lets go of it; later calls and the destructor do nothing.
    // Whatever the target's unlock() throws passes on, and the guard has let go anyway.
    void unlock() override;

private:
    scope_semantics* target_;
};

}  // namespace replay
