// A listener that forwards entries, with a prefix in front of their text, to another
// dispatcher, which stamps them anew.
#pragma once

#include "support/log/dispatcher.hpp"
#include "support/log/listener.hpp"

#include <cstdint>
#include <string>

namespace replay::log {

class proxy final : public listener {
public:
    // Forwards to `target`, which is not owned and must outlive the proxy. `prefix` is
    // UTF-8 text put in front of every forwarded text.
    proxy(dispatcher& target, std::string prefix);
    ~proxy() override;

    // Logs the prefix and the text, as wide text, on the target at the same level; the
    // stamp is dropped. At level 5 the target describes the exception being handled once
    // more, so the text carries the description twice. Whatever the target throws passes
    // on. Takes the target's lock while the calling dispatcher's lock is held: two
    // dispatchers must not forward to each other from different threads.
    void write(std::int32_t level, const std::string& stamp, const std::string& text) override;

private:
    dispatcher* target_;
    std::string prefix_;
};

}  // namespace replay::log
