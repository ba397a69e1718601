// Where failures that the user must see are sent: a message box in the product,
// standard error in the installer tool.
#pragma once

#include <string>

namespace replay {

class reporter {
public:
    virtual ~reporter() = default;

    // Shows `text` under `caption` and returns when the user has seen it. A silent
    // reporter drops it; nothing else about the caller's path changes.
    virtual void report(const std::string& caption, const std::string& text) = 0;
};

}  // namespace replay
