// Loading DLLs from the system directory only. The program runs elevated and is usually
// started from a downloads folder, where anyone could have left a DLL of a system name.
#pragma once

#include "support/win/windows.hpp"

namespace replay {

// Makes every later load by plain name in this process search the system directory
// only: not the program's folder, not the current directory, not PATH. Meant for the
// very start of the program, before anything else loads a DLL. Returns true when the
// system applied that rule; false on a Windows 7 without its loader update, which lacks
// it: the current directory is then at least taken out of the search. Never throws.
bool restrict_dll_search();

// Loads `name` (a file name such as "dbghelp.dll") from the system directory by its full
// path, whatever the search order. Null when the system directory cannot be found or
// the library does not load there; GetLastError() then says why. Never throws.
HMODULE load_system_library(const char* name);

}  // namespace replay
