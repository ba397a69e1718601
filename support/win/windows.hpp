// The one place that includes <windows.h>, with the settings every file of ours needs.
#pragma once

// Windows 7 is the oldest system we run on; MinGW's headers hide newer declarations
// (SetDefaultDllDirectories, TokenElevation) unless the target version says so.
#ifndef _WIN32_WINNT
#define _WIN32_WINNT 0x0601
#endif
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#ifndef NOMINMAX
#define NOMINMAX  // std::min and std::max, not the macros
#endif
#include <windows.h>
