// A planted "dbghelp.dll": its dump writer marks the file as written by the wrong library.
#include "support/win/windows.hpp"

#include <dbghelp.h>

extern "C" __declspec(dllexport) BOOL WINAPI MiniDumpWriteDump(HANDLE, DWORD, HANDLE file, MINIDUMP_TYPE,
                                                                PMINIDUMP_EXCEPTION_INFORMATION,
                                                                PMINIDUMP_USER_STREAM_INFORMATION,
                                                                PMINIDUMP_CALLBACK_INFORMATION) {
    static const char mark[] = "PLANTED";
    DWORD written = 0;
    return ::WriteFile(file, mark, sizeof mark - 1, &written, nullptr);
}
