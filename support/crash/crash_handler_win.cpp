// The crash handler: minidumps through the system's "dbghelp.dll", loaded at run time so
// that a machine without it simply gets no dumps.
#include "support/crash/crash_handler.hpp"

#include "support/crash/dll_search.hpp"
#include "support/text/format.hpp"
#include "support/win/unique_handle.hpp"

#include <dbghelp.h>
#include <time.h>  // _time64: 64-bit seconds whatever the width of time_t

#include <atomic>
#include <cstdint>

namespace replay {

namespace {

using dump_writer = BOOL(WINAPI*)(HANDLE process, DWORD process_id, HANDLE file, MINIDUMP_TYPE type,
                                  PMINIDUMP_EXCEPTION_INFORMATION exception,
                                  PMINIDUMP_USER_STREAM_INFORMATION user_streams,
                                  PMINIDUMP_CALLBACK_INFORMATION callback);

// Written by install_crash_handler only, before any other thread could crash, and only
// read afterwards, so the filter reads it without a lock.
struct handler_state {
    HMODULE library = nullptr;  // also the mark that installation has run
    dump_writer writer = nullptr;
    std::string dump_path;
    MINIDUMP_TYPE dump_type = MiniDumpNormal;
    LPTOP_LEVEL_EXCEPTION_FILTER previous = nullptr;
};

handler_state state;

// Set by the first thread that goes on to write the dump, and by removal. Two threads
// writing one file with shared write access would leave neither dump readable.
std::atomic_flag dump_taken = ATOMIC_FLAG_INIT;

void write_dump(EXCEPTION_POINTERS* pointers) {
    const win::file_handle file(::CreateFileA(state.dump_path.c_str(), GENERIC_WRITE, FILE_SHARE_WRITE, nullptr,
                                              CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file)
        return;
    MINIDUMP_EXCEPTION_INFORMATION exception;
    exception.ThreadId = ::GetCurrentThreadId();
    exception.ExceptionPointers = pointers;
    exception.ClientPointers = FALSE;  // the pointers belong to this very process
    // A failure part-way leaves a partial file; nothing better can be done from here.
    state.writer(::GetCurrentProcess(), ::GetCurrentProcessId(), file.get(), state.dump_type, &exception, nullptr,
                 nullptr);
}

}  // namespace

bool install_crash_handler(const std::string& prefix) {
    if (state.library == nullptr) {
        state.library = load_system_library("dbghelp.dll");
        if (state.library != nullptr) {
            const FARPROC entry = ::GetProcAddress(state.library, "MiniDumpWriteDump");
            state.writer = reinterpret_cast<dump_writer>(reinterpret_cast<void (*)()>(entry));
            const std::int64_t seconds = _time64(nullptr);
            state.dump_path = format_text("%s.%i.dmp", prefix.c_str(),
                                          static_cast<int>(static_cast<std::uint32_t>(seconds)));
            state.dump_type = MiniDumpNormal;
            state.previous = ::SetUnhandledExceptionFilter(crash_filter);
        }
    }
    return state.writer != nullptr;
}

void remove_crash_handler() {
    // Taking the dump's turn keeps a late caller (a filter installed after ours that
    // chains to it) from calling into the library released below.
    dump_taken.test_and_set();
    ::SetUnhandledExceptionFilter(state.previous);
    if (state.library != nullptr)
        ::FreeLibrary(state.library);
}

LONG WINAPI crash_filter(EXCEPTION_POINTERS* pointers) {
    if (state.writer != nullptr && !dump_taken.test_and_set())
        write_dump(pointers);
    if (state.previous != nullptr)
        return state.previous(pointers);
    return EXCEPTION_CONTINUE_SEARCH;
}

}  // namespace replay
