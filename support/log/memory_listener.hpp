// A listener that keeps every entry it receives in memory, in arrival order.
#pragma once

#include "support/log/listener.hpp"
#include "support/sync/mutex.hpp"

#include <cstdint>
#include <string>
#include <vector>

namespace replay::log {

class memory_listener final : public listener {
public:
    struct entry {
        std::int32_t level;
        std::string text;  // UTF-8, without the stamp

        bool operator==(const entry& other) const {
            return level == other.level && text == other.text;
        }
    };

    memory_listener();
    ~memory_listener() override;

    // Appends the level and the text; the stamp is not kept.
    void write(std::int32_t level, const std::string& stamp, const std::string& text) override;

    // A copy of the entries received so far, oldest first. Safe to call while other
    // threads log: the list has a lock of its own.
    std::vector<entry> entries() const;

private:
    mutable mutex lock_;
    std::vector<entry> entries_;
};

}  // namespace replay::log
