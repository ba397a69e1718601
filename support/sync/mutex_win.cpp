// The in-process lock as a Windows critical section.
#include "support/sync/mutex.hpp"

namespace replay {

mutex::mutex() { ::InitializeCriticalSection(&section_); }

mutex::~mutex() { ::DeleteCriticalSection(&section_); }

void mutex::lock() { ::EnterCriticalSection(&section_); }

void mutex::unlock() { ::LeaveCriticalSection(&section_); }

}  // namespace replay
