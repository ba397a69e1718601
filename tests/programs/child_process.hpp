// Starting the helper programs of the Windows tests: they lie beside the test program,
// run with their output going to a file, and report their exit code.
#pragma once

#include "support/win/unique_handle.hpp"
#include "support/win/windows.hpp"

#include <fstream>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

namespace test_programs {

// The directory of the running test program, with a trailing backslash.
inline std::wstring own_directory() {
    wchar_t path[MAX_PATH] = {};
    const DWORD length = ::GetModuleFileNameW(nullptr, path, MAX_PATH);
    const std::wstring text(path, length);
    return text.substr(0, text.rfind(L'\\') + 1);
}

// A fresh empty directory under the temporary folder, with a trailing backslash.
inline std::wstring fresh_directory(const std::wstring& name) {
    wchar_t temp[MAX_PATH] = {};
    ::GetTempPathW(MAX_PATH, temp);
    const std::wstring directory = std::wstring(temp) + name + L"." + std::to_wstring(::GetCurrentProcessId()) +
                                   L"." + std::to_wstring(::GetTickCount()) + L"\\";
    if (!::CreateDirectoryW(directory.c_str(), nullptr))
        throw std::runtime_error("cannot create a test directory");
    return directory;
}

inline std::string read_file(const std::wstring& path) {
    std::ifstream in(path.c_str(), std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

inline bool exists(const std::wstring& path) { return ::GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

// The names of the files in `directory` (with its trailing backslash) that match `pattern`.
inline std::vector<std::wstring> files_matching(const std::wstring& directory, const std::wstring& pattern) {
    std::vector<std::wstring> names;
    WIN32_FIND_DATAW entry;
    const replay::win::find_handle find(::FindFirstFileW((directory + pattern).c_str(), &entry));
    if (!find)
        return names;
    do {
        names.push_back(entry.cFileName);
    } while (::FindNextFileW(find.get(), &entry));
    return names;
}

// Removes `directory` (no trailing backslash needed) with everything in it; a missing
// directory is fine.
inline void remove_tree(const std::wstring& directory) {
    std::wstring base = directory;
    if (!base.empty() && base.back() != L'\\')
        base += L'\\';
    WIN32_FIND_DATAW entry;
    const HANDLE find = ::FindFirstFileW((base + L"*").c_str(), &entry);
    if (find != INVALID_HANDLE_VALUE) {
        do {
            const std::wstring name = entry.cFileName;
            if (name == L"." || name == L"..")
                continue;
            if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                remove_tree(base + name);
            else
                ::DeleteFileW((base + name).c_str());
        } while (::FindNextFileW(find, &entry));
        ::FindClose(find);
    }
    ::RemoveDirectoryW(base.c_str());
}

// The seconds count of the dump files `<prefix>.<seconds>.dmp` in `directory`.
inline std::vector<long long> dump_seconds(const std::wstring& directory, const std::wstring& prefix) {
    std::vector<long long> seconds;
    for (const std::wstring& name : files_matching(directory, prefix + L".*.dmp")) {
        const std::wstring middle = name.substr(prefix.size() + 1, name.size() - prefix.size() - 5);
        seconds.push_back(std::stoll(middle));
    }
    return seconds;
}

inline std::string narrow(const std::wstring& text) {
    std::string result;
    for (wchar_t c : text)
        result += static_cast<char>(c);  // the tests' paths are ASCII
    return result;
}

struct child_result {
    DWORD exit_code = 0;
    std::string output;  // standard output
    std::string errors;  // standard error (where Wine's debug trace goes)
};

// Runs `command_line` in `directory` (empty: this process's current directory) with
// these environment variables added ("NAME=value"), and waits for it.
inline child_result run_child(const std::wstring& command_line, const std::wstring& directory = L"",
                              const std::vector<std::wstring>& environment = {}) {
    const std::wstring scratch = fresh_directory(L"child");
    SECURITY_ATTRIBUTES inherit{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
    const auto open_output = [&](const wchar_t* name) {
        return replay::win::file_handle(::CreateFileW((scratch + name).c_str(), GENERIC_WRITE, FILE_SHARE_READ,
                                                      &inherit, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    };
    replay::win::file_handle output = open_output(L"out.txt");
    replay::win::file_handle errors = open_output(L"err.txt");

    std::wstring block;
    for (const std::wstring& variable : environment)
        block += variable + L'\0';
    const wchar_t* own = ::GetEnvironmentStringsW();
    for (const wchar_t* entry = own; *entry; entry += ::wcslen(entry) + 1)
        block += std::wstring(entry) + L'\0';
    ::FreeEnvironmentStringsW(const_cast<wchar_t*>(own));
    block += L'\0';

    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = ::GetStdHandle(STD_INPUT_HANDLE);
    startup.hStdOutput = output.get();
    startup.hStdError = errors.get();
    PROCESS_INFORMATION process{};
    std::wstring mutable_line = command_line;
    if (!::CreateProcessW(nullptr, mutable_line.data(), nullptr, nullptr, TRUE, CREATE_UNICODE_ENVIRONMENT,
                          block.data(), directory.empty() ? nullptr : directory.c_str(), &startup, &process))
        throw std::runtime_error("cannot start a test program");
    const replay::win::kernel_handle process_handle(process.hProcess);
    const replay::win::kernel_handle thread_handle(process.hThread);
    ::WaitForSingleObject(process.hProcess, INFINITE);
    child_result result;
    ::GetExitCodeProcess(process.hProcess, &result.exit_code);
    output.reset();
    errors.reset();
    result.output = read_file(scratch + L"out.txt");
    result.errors = read_file(scratch + L"err.txt");
    ::DeleteFileW((scratch + L"out.txt").c_str());
    ::DeleteFileW((scratch + L"err.txt").c_str());
    ::RemoveDirectoryW(scratch.c_str());
    return result;
}

// The value of a "name=value" line in a probe's output; empty when there is none.
inline std::string reported(const std::string& output, const std::string& name) {
    std::istringstream lines(output);
    std::string line;
    while (std::getline(lines, line)) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (line.compare(0, name.size() + 1, name + "=") == 0)
            return line.substr(name.size() + 1);
    }
    return {};
}

}  // namespace test_programs
