// Loading DLLs from the system directory only.
#include "support/crash/dll_search.hpp"

#include <string>

namespace replay {

bool restrict_dll_search() {
    // Looked up rather than imported: Windows 7 without its loader update has no such
    // entry, and an import of it would keep the program from starting there.
    using set_default_dll_directories = BOOL(WINAPI*)(DWORD);
    const FARPROC entry = ::GetProcAddress(::GetModuleHandleA("kernel32.dll"), "SetDefaultDllDirectories");
    const auto set_default =
        reinterpret_cast<set_default_dll_directories>(reinterpret_cast<void (*)()>(entry));
    if (set_default != nullptr && set_default(LOAD_LIBRARY_SEARCH_SYSTEM32))
        return true;
    ::SetDllDirectoryA("");
    return false;
}

HMODULE load_system_library(const char* name) {
    char directory[MAX_PATH];
    const UINT length = ::GetSystemDirectoryA(directory, MAX_PATH);
    if (length == 0 || length >= MAX_PATH)
        return nullptr;
    const std::string path = std::string(directory, length) + "\\" + name;
    // With a full path and this flag the library's own imports are looked for beside it,
    // in the system directory, before anywhere else.
    return ::LoadLibraryExA(path.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
}

}  // namespace replay
