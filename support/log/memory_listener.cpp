// A listener that keeps every entry it receives in memory.
#include "support/log/memory_listener.hpp"

#include "support/sync/scope.hpp"

namespace replay::log {

memory_listener::memory_listener() = default;

memory_listener::~memory_listener() = default;

void memory_listener::write(std::int32_t level, const std::string&, const std::string& text) {
    scope guard(&lock_);
    entries_.push_back({level, text});
}

std::vector<memory_listener::entry> memory_listener::entries() const {
    scope guard(&lock_);
    return entries_;
}

}  // namespace replay::log
