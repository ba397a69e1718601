// Registry access below HKEY_LOCAL_MACHINE: opening keys (read-write, else read-only),
// reading string values and writing REG_SZ values. Every failure is one of the
// replay::registry2 errors (support/exceptions/registry_errors.hpp), whose message names
// the system call, the key or value (in the ANSI code page) and the error code.
#pragma once

#include "support/win/unique_handle.hpp"

#include <string>

namespace replay::registry2 {

// An open registry key, closed when destroyed. Made only by the open operations below;
// a child key and its parent are independent handles.
class key {
public:
    key(key&&) noexcept = default;
    key& operator=(key&&) noexcept = default;

    HKEY handle() const { return handle_.get(); }

private:
    explicit key(HKEY handle) : handle_(handle) {}
    friend key open_local_machine();
    friend key open_subkey(const key& parent, const std::wstring& path);

    win::registry_key_handle handle_;
};

// Every open asks for reading and writing first and, only when that is refused with
// access denied, for reading alone. No registry view is asked for: the process sees
// the view of its own bitness.

// A fresh handle to HKEY_LOCAL_MACHINE itself.
// Throws key_error "RegOpenKeyEx() failed: handle %i (%i)" (the root as a signed 32-bit
// number, -2147483646, and the error code).
key open_local_machine();

// The key at `path` below `parent`.
// Throws key_error "RegOpenKeyEx() failed: key \"%s\" (%i)" (the path and the error
// code; 2 when the key does not exist).
key open_subkey(const key& parent, const std::wstring& path);

// The text of a REG_SZ or REG_EXPAND_SZ value, without one trailing zero character if
// it has one (any other zero stays). A REG_EXPAND_SZ value comes with its environment
// references expanded, up to 32767 characters. An odd last byte is dropped.
// Throws value_error "Not found: value \"%s\"" when the value does not exist;
// type_mismatch "Type mismatch: value \"%s\" expected 1 found %i" for another type;
// size_mismatch "Size mismatch: value \"%s\" expected %i found %i" when the value's size
// changed between the two reads; value_error "RegQueryValueEx() failed: value \"%s\" (%i)"
// when the read fails; value_error "ExpandEnvironmentStrings() failed: value \"%s\" (%i)"
// when the expansion fails, and "ExpandEnvironmentStrings() failed: value \"%s\" expands
// beyond 32767 characters (122)" when its result does not fit.
// A name that the ANSI code page cannot represent throws unicode::unmappable_character
// in place of any of these.
std::wstring read_string(const key& k, const std::wstring& name);

// read_string converted to the ANSI code page in strict mode: also throws the
// replay::unicode errors of that conversion.
std::string read_string_narrow(const key& k, const std::wstring& name);

// Stores `text` as a REG_SZ value with its terminating zero.
// Throws value_error "RegSetValueEx() failed: value \"%s\" (%i)".
void write_string(const key& k, const std::wstring& name, const std::wstring& text);

}  // namespace replay::registry2
