// The process-wide brand record: the brand and product names from the string table.
#pragma once

#include "configuration/records.hpp"

namespace config {

// Empty until config::startup has filled it; written once during start-up on the main
// thread and only read afterwards.
extern brand_impl brand;

}  // namespace config
