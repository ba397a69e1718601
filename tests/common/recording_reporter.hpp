// A reporter for tests: keeps every caption and text it is asked to show, in order.
#pragma once

#include "support/report/reporter.hpp"

#include <string>
#include <utility>
#include <vector>

namespace testing_support {

class recording_reporter : public replay::reporter {
public:
    void report(const std::string& caption, const std::string& text) override { shown.emplace_back(caption, text); }

    std::vector<std::string> captions() const {
        std::vector<std::string> result;
        for (const auto& message : shown)
            result.push_back(message.first);
        return result;
    }

    std::vector<std::pair<std::string, std::string>> shown;  // (caption, text)
};

}  // namespace testing_support
