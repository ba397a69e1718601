// A stand-in for a product's setup program, for the demo and the end-to-end tests. It
// writes what it was started with into a record file, may wait for a file to appear, and
// exits with the code it was asked for.
//
// Arguments (anywhere on its command line; everything else is ignored):
//   /exit:N      exit with code N (decimal; default 0)
//   /wait:PATH   before exiting, wait until a file PATH exists (at most two minutes)
// The record file is the path in the environment variable SAMPLE_SETUP_RECORD, or else
// "sample_setup_record.txt" in the temporary folder. It holds three lines:
//   command_line=<GetCommandLineA() exactly>
//   current_directory=<the current directory>
//   module_path=<this program's own path>
#include "support/win/windows.hpp"

#include <cstdlib>
#include <string>

namespace {

constexpr DWORD wait_limit_ms = 120000;
constexpr DWORD poll_interval_ms = 50;

std::string environment_value(const char* name) {
    char buffer[32768];
    const DWORD length = ::GetEnvironmentVariableA(name, buffer, sizeof buffer);
    return length > 0 && length < sizeof buffer ? std::string(buffer, length) : std::string();
}

std::string record_path() {
    std::string path = environment_value("SAMPLE_SETUP_RECORD");
    if (!path.empty())
        return path;
    char folder[MAX_PATH + 1];
    const DWORD length = ::GetTempPathA(sizeof folder, folder);
    return std::string(folder, length < sizeof folder ? length : 0) + "sample_setup_record.txt";
}

std::string current_directory() {
    char buffer[MAX_PATH + 1];
    const DWORD length = ::GetCurrentDirectoryA(sizeof buffer, buffer);
    return length < sizeof buffer ? std::string(buffer, length) : std::string();
}

std::string module_path() {
    char buffer[MAX_PATH + 1];
    const DWORD length = ::GetModuleFileNameA(nullptr, buffer, sizeof buffer);
    return std::string(buffer, length < sizeof buffer ? length : 0);
}

bool write_record(const std::string& path, const std::string& text) {
    HANDLE file = ::CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    DWORD written = 0;
    const BOOL ok = ::WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
    return ::CloseHandle(file) && ok && written == text.size();
}

void wait_for(const std::string& path) {
    for (DWORD waited = 0; waited < wait_limit_ms; waited += poll_interval_ms) {
        if (::GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES)
            return;
        ::Sleep(poll_interval_ms);
    }
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    const std::string record = "command_line=" + std::string(::GetCommandLineA()) +
                               "\ncurrent_directory=" + current_directory() + "\nmodule_path=" + module_path() + "\n";
    if (!write_record(record_path(), record))
        return 2;

    unsigned long exit_code = 0;
    for (int k = 1; k < __argc; ++k) {
        const std::string arg = __argv[k];
        if (arg.rfind("/exit:", 0) == 0)
            exit_code = std::strtoul(arg.c_str() + 6, nullptr, 10);
        else if (arg.rfind("/wait:", 0) == 0)
            wait_for(arg.substr(6));
    }
    return static_cast<int>(exit_code);
}
