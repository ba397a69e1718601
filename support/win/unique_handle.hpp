// Move-only owner of a Windows handle; a small traits type says what "no handle" is
// and how to close one.
#pragma once

#include "support/win/windows.hpp"

#include <utility>

namespace replay::win {

template <typename Traits>
class unique_handle {
public:
    using handle_type = typename Traits::handle_type;

    unique_handle() = default;
    explicit unique_handle(handle_type handle) : handle_(handle) {}
    ~unique_handle() { reset(); }

    unique_handle(const unique_handle&) = delete;
    unique_handle& operator=(const unique_handle&) = delete;
    unique_handle(unique_handle&& other) noexcept : handle_(other.release()) {}
    unique_handle& operator=(unique_handle&& other) noexcept {
        if (this != &other)
            reset(other.release());
        return *this;
    }

    handle_type get() const { return handle_; }
    explicit operator bool() const { return Traits::is_valid(handle_); }

    // Gives up ownership without closing.
    [[nodiscard]] handle_type release() { return std::exchange(handle_, Traits::invalid()); }

    void reset(handle_type handle = Traits::invalid()) {
        if (Traits::is_valid(handle_))
            Traits::close(handle_);
        handle_ = handle;
    }

private:
    handle_type handle_ = Traits::invalid();
};

// Kernel objects whose "no handle" is null (processes, mutexes, threads).
struct kernel_handle_traits {
    using handle_type = HANDLE;
    static HANDLE invalid() { return nullptr; }
    static bool is_valid(HANDLE h) { return h != nullptr && h != INVALID_HANDLE_VALUE; }
    static void close(HANDLE h) { ::CloseHandle(h); }
};

// Files opened with CreateFile, whose "no handle" is INVALID_HANDLE_VALUE.
struct file_handle_traits {
    using handle_type = HANDLE;
    static HANDLE invalid() { return INVALID_HANDLE_VALUE; }
    static bool is_valid(HANDLE h) { return h != nullptr && h != INVALID_HANDLE_VALUE; }
    static void close(HANDLE h) { ::CloseHandle(h); }
};

struct find_handle_traits {
    using handle_type = HANDLE;
    static HANDLE invalid() { return INVALID_HANDLE_VALUE; }
    static bool is_valid(HANDLE h) { return h != INVALID_HANDLE_VALUE; }
    static void close(HANDLE h) { ::FindClose(h); }
};

struct registry_key_traits {
    using handle_type = HKEY;
    static HKEY invalid() { return nullptr; }
    static bool is_valid(HKEY h) { return h != nullptr; }
    static void close(HKEY h) { ::RegCloseKey(h); }
};

struct module_handle_traits {
    using handle_type = HMODULE;
    static HMODULE invalid() { return nullptr; }
    static bool is_valid(HMODULE h) { return h != nullptr; }
    static void close(HMODULE h) { ::FreeLibrary(h); }
};

using kernel_handle = unique_handle<kernel_handle_traits>;
using file_handle = unique_handle<file_handle_traits>;
using find_handle = unique_handle<find_handle_traits>;
using registry_key_handle = unique_handle<registry_key_traits>;
using module_handle = unique_handle<module_handle_traits>;

}  // namespace replay::win
