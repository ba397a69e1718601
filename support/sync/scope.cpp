// A guard that releases a lock of the family exactly once.
#include "support/sync/scope.hpp"

#include <utility>

namespace replay {

scope::scope(scope_semantics* target) : target_(target) {
    if (target_)
        target_->lock();
}

scope::~scope() {
    if (!target_)
        return;
    try {
        std::exchange(target_, nullptr)->unlock();
    } catch (...) {
        // A destructor has no one to report to, and a second exception while another is
        // unwinding would end the process. A refused release means this thread did not
        // hold the lock, so nothing is left held by dropping the error.
    }
}

void scope::lock() {
    if (target_)
        target_->lock();
}

void scope::unlock() {
    if (target_)
        std::exchange(target_, nullptr)->unlock();
}

}  // namespace replay
