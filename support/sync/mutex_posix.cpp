// The in-process lock as a recursive standard mutex, for builds without Windows.
#include "support/sync/mutex.hpp"

namespace replay {

mutex::mutex() = default;

mutex::~mutex() = default;

void mutex::lock() { section_.lock(); }

void mutex::unlock() { section_.unlock(); }

}  // namespace replay
