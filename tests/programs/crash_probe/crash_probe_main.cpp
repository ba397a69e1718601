// A process for the crash-handler and start-up tests: it does what its command line says
// (see `usage`), prints what it saw as "name=value" lines, and faults where asked.
#include "configuration/startup.hpp"
#include "support/crash/crash_handler.hpp"
#include "support/crash/dll_search.hpp"
#include "support/unicode/conversion.hpp"

#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>

namespace {

const char* const usage =
    "usage: crash_probe values | null-deref | init-twice | raise PREFIX [SECOND_PREFIX]\n"
    "       | raise-removed PREFIX | raise-two-threads PREFIX | dbghelp-path PREFIX\n"
    "       | load NAME | restrict-and-load NAME\n";

// A continuable exception of our own, raised where the tests need a crash to come back from.
constexpr DWORD probe_exception = 0xE0000042;

void report(const char* name, const std::string& value) { std::printf("%s=%s\n", name, value.c_str()); }
void report(const char* name, const std::wstring& value) {
    report(name, replay::unicode::to_narrow(value, replay::unicode::utf8_code_page, false));
}
void report(const char* name, long long value) { report(name, std::to_string(value)); }

LPTOP_LEVEL_EXCEPTION_FILTER current_filter() {
    const LPTOP_LEVEL_EXCEPTION_FILTER filter = ::SetUnhandledExceptionFilter(nullptr);
    ::SetUnhandledExceptionFilter(filter);
    return filter;
}

void report_configuration() {
    report("brand", config::brand.m_brand);
    report("product_name", config::brand.m_product_name);
    report("module_directory", config::module_directory);
    report("module_file_name", config::module_file_name);
    report("common_data_root", config::common_data_root);
    report("common_product_directory", config::common_product_directory);
    report("user_data_root", config::user_data_root);
    report("user_product_directory", config::user_product_directory);
    report("dumps_exists", ::GetFileAttributesW(config::dumps_directory().c_str()) != INVALID_FILE_ATTRIBUTES);
    report("crash_filter_installed", current_filter() == replay::crash_filter);
    std::fflush(stdout);
}

// The filter that was in place before the crash handler: it counts its calls and lets a
// probe exception go on, and ends the process with the exception's code for anything else.
long previous_calls = 0;
LONG WINAPI previous_filter(EXCEPTION_POINTERS* pointers) {
    ++previous_calls;
    if (pointers->ExceptionRecord->ExceptionCode == probe_exception)
        return EXCEPTION_CONTINUE_EXECUTION;
    std::fflush(stdout);
    return EXCEPTION_EXECUTE_HANDLER;
}

void raise_probe_exception() {
    ::RaiseException(probe_exception, 0, 0, nullptr);
    report("previous_calls", previous_calls);
    report("resumed", 1);
}

bool dump_present(const std::string& pattern) {
    WIN32_FIND_DATAA entry;
    const HANDLE find = ::FindFirstFileA(pattern.c_str(), &entry);
    if (find == INVALID_HANDLE_VALUE)
        return false;
    ::FindClose(find);
    return true;
}

// For two faulting threads: when the first fault comes through here, its dump is already
// written. This removes it and has a second thread fault meanwhile; that thread must not
// write the file again.
std::string two_thread_prefix;
LONG WINAPI first_fault_filter(EXCEPTION_POINTERS*) {
    if (++previous_calls > 1)
        return EXCEPTION_CONTINUE_EXECUTION;  // the second thread's fault
    const std::string pattern = two_thread_prefix + ".*.dmp";
    WIN32_FIND_DATAA entry;
    const HANDLE find = ::FindFirstFileA(pattern.c_str(), &entry);
    report("first_dump_written", find != INVALID_HANDLE_VALUE);
    if (find != INVALID_HANDLE_VALUE) {
        ::FindClose(find);
        const std::string directory = two_thread_prefix.substr(0, two_thread_prefix.rfind('\\') + 1);
        ::DeleteFileA((directory + entry.cFileName).c_str());
    }
    std::thread(raise_probe_exception).join();
    report("dump_after_second_fault", dump_present(pattern));
    return EXCEPTION_CONTINUE_EXECUTION;
}

std::string loaded_module_path(const char* name) {
    char path[MAX_PATH] = {};
    const HMODULE module = ::GetModuleHandleA(name);
    if (module == nullptr || ::GetModuleFileNameA(module, path, MAX_PATH) == 0)
        return {};
    return path;
}

void report_load(const char* name) {
    const HMODULE module = ::LoadLibraryA(name);
    report("loaded", module != nullptr);
    char path[MAX_PATH] = {};
    if (module != nullptr && ::GetModuleFileNameA(module, path, MAX_PATH) != 0)
        report("loaded_path", std::string(path));
}

int run(int argc, char** argv) {
    const std::string mode = argc > 1 ? argv[1] : "";
    const std::string argument = argc > 2 ? argv[2] : "";
    if (mode == "values") {
        config::startup(::GetModuleHandleW(nullptr));
        report_configuration();
    } else if (mode == "null-deref") {
        ::SetUnhandledExceptionFilter(previous_filter);
        config::startup(nullptr);
        report_configuration();
        *static_cast<volatile int*>(nullptr) = 1;
    } else if (mode == "init-twice") {
        // One reference of our own: were the removal registered twice, the library's
        // count would reach zero at exit and it would be gone when this runs.
        replay::load_system_library("dbghelp.dll");
        std::atexit([] {
            report("dbghelp_loaded_after_exit_removal", ::GetModuleHandleA("dbghelp.dll") != nullptr);
            report("crash_filter_installed_after_exit_removal", current_filter() == replay::crash_filter);
            std::fflush(stdout);
        });
        config::startup(nullptr);
        config::init(nullptr);
        report_configuration();
    } else if (mode == "raise" && argc > 2) {
        ::SetUnhandledExceptionFilter(previous_filter);
        report("installed", replay::install_crash_handler(argument));
        if (argc > 3)
            report("installed_again", replay::install_crash_handler(argv[3]));
        raise_probe_exception();
    } else if (mode == "raise-removed" && argc > 2) {
        ::SetUnhandledExceptionFilter(previous_filter);
        report("installed", replay::install_crash_handler(argument));
        replay::remove_crash_handler();
        report("crash_filter_installed", current_filter() == replay::crash_filter);
        raise_probe_exception();
    } else if (mode == "raise-two-threads" && argc > 2) {
        ::SetUnhandledExceptionFilter(first_fault_filter);
        two_thread_prefix = argument;
        report("installed", replay::install_crash_handler(argument));
        raise_probe_exception();
    } else if (mode == "dbghelp-path" && argc > 2) {
        ::SetUnhandledExceptionFilter(previous_filter);
        report("installed", replay::install_crash_handler(argument));
        report("dbghelp_path", loaded_module_path("dbghelp.dll"));
        raise_probe_exception();
    } else if (mode == "load" && argc > 2) {
        report_load(argument.c_str());
    } else if (mode == "restrict-and-load" && argc > 2) {
        report("restricted", replay::restrict_dll_search());
        report_load(argument.c_str());
    } else {
        std::fputs(usage, stderr);
        return 2;
    }
    std::fflush(stdout);
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    try {
        return run(argc, argv);
    } catch (const std::exception& error) {
        report("exception", std::string(error.what()));
        std::fflush(stdout);
        return 3;
    }
}
