// A reporter for tests: keeps every caption and text it is given, in order.
#pragma once

#include "support/report/reporter.hpp"

#include <string>
#include <utility>
#include <vector>

namespace testing_support {

class recording_reporter : public replay::reporter {
public:
    void report(const std::string& caption, const std::string& text) override { reports.emplace_back(caption, text); }

    std::vector<std::pair<std::string, std::string>> reports;  // (caption, text)
};

}  // namespace testing_support
