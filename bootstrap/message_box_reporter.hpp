// The run's reporter: a message box with no owner window, one OK button and no icon,
// or nothing at all in silent mode.
#pragma once

#include "support/report/reporter.hpp"

namespace bootstrap {

class message_box_reporter : public replay::reporter {
public:
    explicit message_box_reporter(const bool& silent) : silent_(silent) {}
    void report(const std::string& caption, const std::string& text) override;

private:
    const bool& silent_;  // read at each report: silent mode is decided after construction
};

}  // namespace bootstrap
