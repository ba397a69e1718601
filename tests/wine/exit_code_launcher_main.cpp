// Runs the command line given after its own name and prints the child's full 32-bit exit
// code, which a Unix exit status (8 bits) cannot carry out of Wine.
// Prints "exit code: N" and returns 0; returns 2 when the child cannot be started.
// When the environment variable LAUNCHER_COMMAND_LINE is set, it is the child's whole
// command line, byte for byte: Wine quotes arguments again on their way in, so a test
// that needs exact blanks and quotes passes them this way.
#include "bootstrap/command_text.hpp"
#include "support/win/unique_handle.hpp"

#include <cstdio>
#include <string>

std::string verbatim_command_line() {
    const DWORD size = ::GetEnvironmentVariableA("LAUNCHER_COMMAND_LINE", nullptr, 0);
    if (size == 0)
        return {};
    std::string text(size, '\0');
    const DWORD length = ::GetEnvironmentVariableA("LAUNCHER_COMMAND_LINE", text.data(), size);
    text.resize(length < size ? length : 0);
    return text;
}

int main() {
    std::string child = verbatim_command_line();
    if (child.empty())
        child = bootstrap::command_text(::GetCommandLineA());
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!::CreateProcessA(nullptr, child.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process)) {
        std::printf("cannot start: %s (error %lu)\n", child.c_str(), ::GetLastError());
        return 2;
    }
    const replay::win::kernel_handle process_handle(process.hProcess);
    const replay::win::kernel_handle thread_handle(process.hThread);
    ::WaitForSingleObject(process.hProcess, INFINITE);
    DWORD code = 0;
    ::GetExitCodeProcess(process.hProcess, &code);
    std::printf("exit code: %lu\n", code);
    std::fflush(stdout);
    return 0;
}
