// The interface of everything that receives log entries from a dispatcher.
#pragma once

#include <cstdint>
#include <string>

namespace replay::log {

class listener {
public:
    virtual ~listener() = 0;

    // Receives one entry: its level, its stamp (narrow, see make_stamp) and its text in
    // UTF-8. Called by a dispatcher under the dispatcher's lock, one entry at a time. A
    // listener may throw; the dispatcher then stops delivering that entry.
    virtual void write(std::int32_t level, const std::string& stamp, const std::string& text) = 0;

protected:
    listener() = default;
    listener(const listener&) = default;
    listener& operator=(const listener&) = default;
};

inline listener::~listener() = default;

}  // namespace replay::log
