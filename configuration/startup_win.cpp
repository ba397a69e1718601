// Placeholder until brand strings land.
#include "configuration/startup.hpp"

namespace config {

void startup(HINSTANCE) {}

}  // namespace config
