// Placeholder until the lock family lands: a named, machine-wide system mutex.
#pragma once

#include <cstdint>
#include <string>

namespace replay {

class real_mutex {
public:
    explicit real_mutex(const std::string& name);
    bool acquire(std::uint32_t timeout_ms);
};

}  // namespace replay
