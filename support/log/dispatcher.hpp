// The log dispatcher: makes entries (stamp and text) and hands them to the listeners
// registered for their level.
#pragma once

#include "support/log/listener.hpp"
#include "support/sync/mutex.hpp"

#include <cstdint>
#include <map>
#include <memory>
#include <string>

namespace replay::log {

class dispatcher {
public:
    dispatcher();
    // Destroys the registered listeners, in no particular order.
    ~dispatcher();

    dispatcher(const dispatcher&) = delete;
    dispatcher& operator=(const dispatcher&) = delete;

    // Registers a listener for every entry whose level is at least `threshold`; the
    // dispatcher owns it from now on, until remove() hands it back. Several listeners may
    // share a threshold: among them the one added last is served first. Returns the
    // listener, so that its maker can keep a reference (to read a memory listener, or to
    // remove it later). `added` must not be null. A listener must not add or remove
    // listeners of the dispatcher that is delivering to it.
    template <typename Listener>
    Listener& add(std::int32_t threshold, std::unique_ptr<Listener> added) {
        Listener& result = *added;
        add_listener(threshold, std::move(added));
        return result;
    }

    // Unregisters `registered` and gives it back to the caller; null when it is not
    // registered here.
    std::unique_ptr<listener> remove(const listener& registered);

    // Makes one entry and delivers it to the listeners whose threshold is at most `level`,
    // from the highest threshold down, each with the stamp and the text in UTF-8.
    // `level` must be from 0 to 5 (std::out_of_range otherwise). At level 5 the text is
    // `message` followed by a description of the exception the caller is handling (see
    // describe_current_exception), so level 5 belongs inside a handler.
    // A failing conversion or listener propagates; the listeners after it do not get the
    // entry, and the dispatcher's lock is released on the way out. May be called from any
    // thread; delivery happens one entry at a time, and a listener that logs to the same
    // dispatcher on the same thread re-enters it.
    void log(std::int32_t level, const std::wstring& message);

private:
    void add_listener(std::int32_t threshold, std::unique_ptr<listener> added);

    mutex lock_;
    std::multimap<std::int32_t, std::unique_ptr<listener>> listeners_;
};

}  // namespace replay::log
