// A second process for the lock tests, using the product's own lock class.
//   sync_helper hold NAME EVENT  acquire NAME without a time limit, signal the named
//                                event EVENT, then wait until killed
//   sync_helper try NAME         acquire(0) once: exit 0 when acquired, 1 when not
// Exit 2 for a wrong command line, 3 when the lock class throws.
#include "support/exceptions/exception.hpp"
#include "support/sync/real_mutex.hpp"
#include "support/win/unique_handle.hpp"

#include <cstdio>
#include <string>

namespace {

constexpr int acquired = 0;
constexpr int not_acquired = 1;
constexpr int usage_error = 2;
constexpr int lock_error = 3;

int hold(const std::string& name, const std::string& event_name) {
    replay::real_mutex mutex(name);
    mutex.lock();
    const replay::win::kernel_handle ready(::OpenEventA(EVENT_MODIFY_STATE, FALSE, event_name.c_str()));
    if (!ready || !::SetEvent(ready.get()))
        return usage_error;
    // Keeps ownership until the test kills this process, which abandons the mutex.
    ::Sleep(INFINITE);
    return acquired;
}

int try_once(const std::string& name) {
    replay::real_mutex mutex(name);
    return mutex.acquire(0) ? acquired : not_acquired;
}

}  // namespace

int main(int argc, char** argv) {
    const std::string command = argc > 1 ? argv[1] : "";
    try {
        if (command == "hold" && argc == 4)
            return hold(argv[2], argv[3]);
        if (command == "try" && argc == 3)
            return try_once(argv[2]);
    } catch (const replay::exception& e) {
        std::fprintf(stderr, "%s\n", e.what());
        return lock_error;
    }
    std::fprintf(stderr, "usage: sync_helper hold NAME EVENT | try NAME\n");
    return usage_error;
}
