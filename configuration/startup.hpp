// Configuration start-up: brand strings from the string table and the product's paths.
#pragma once

#include "support/win/windows.hpp"

namespace config {

// Placeholder until brand strings land: the run calls it first with its instance handle.
void startup(HINSTANCE module);

}  // namespace config
