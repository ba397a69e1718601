// The log dispatcher.
#include "support/log/dispatcher.hpp"

#include "support/log/describe_exception.hpp"
#include "support/log/level.hpp"
#include "support/log/stamp.hpp"
#include "support/sync/scope.hpp"
#include "support/unicode/conversion.hpp"

namespace replay::log {

dispatcher::dispatcher() = default;

dispatcher::~dispatcher() = default;

void dispatcher::add_listener(std::int32_t threshold, std::unique_ptr<listener> added) {
    scope guard(&lock_);
    listeners_.emplace(threshold, std::move(added));
}

std::unique_ptr<listener> dispatcher::remove(const listener& registered) {
    scope guard(&lock_);
    for (auto it = listeners_.begin(); it != listeners_.end(); ++it) {
        if (it->second.get() == &registered) {
            std::unique_ptr<listener> removed = std::move(it->second);
            listeners_.erase(it);
            return removed;
        }
    }
    return nullptr;
}

void dispatcher::log(std::int32_t level, const std::wstring& message) {
    // The stamp and the text are made before the lock is taken.
    const std::string stamp = make_stamp(current_local_time(), level);
    const std::wstring text =
        level == exception_level ? describe_current_exception(message) : message;

    scope guard(&lock_);
    // From the first threshold above the level back to the lowest one.
    for (auto it = listeners_.upper_bound(level); it != listeners_.begin();) {
        --it;
        it->second->write(level, stamp, unicode::to_narrow(text, unicode::utf8_code_page, true));
    }
}

}  // namespace replay::log
