// The crash handler: a process that dies of an unhandled structured exception leaves a
// minidump, written by the system's "dbghelp.dll", at a path fixed at installation.
#pragma once

#include "support/win/windows.hpp"

#include <string>

namespace replay {

// Loads "dbghelp.dll" from the system directory, fixes the dump path as
// "<prefix>.<seconds>.dmp" (the low 32 bits of the current time in seconds since 1970,
// as a signed decimal) and makes crash_filter the process's unhandled-exception filter,
// keeping the filter it replaces. Returns true when the library has MiniDumpWriteDump.
// Without the library nothing is installed and false is returned; a library without the
// entry still gets the filter installed (it then only passes exceptions on) and false.
// Once the library has loaded, later calls change nothing, not even the path, and return
// the same result. For the main thread at start-up. Throws std::bad_alloc only.
bool install_crash_handler(const std::string& prefix);

// Puts back the filter that installation replaced and releases the library. From then
// on crash_filter writes no dump, should anything still call it.
void remove_crash_handler();

// The unhandled-exception filter. The first thread to come here writes the dump (an
// existing file of that name is replaced); a thread that comes later, or any thread once
// the handler has been removed, writes nothing. Then the exception goes to the previous
// filter, whose verdict is returned unchanged, or EXCEPTION_CONTINUE_SEARCH when there
// was none. Allocates nothing and takes no lock: the process is already damaged.
LONG WINAPI crash_filter(EXCEPTION_POINTERS* pointers);

}  // namespace replay
