// Registry access through RegOpenKeyExW, RegQueryValueExW and RegSetValueExW.
#include "support/registry/registry.hpp"

#include "support/exceptions/registry_errors.hpp"
#include "support/text/format.hpp"
#include "support/unicode/conversion.hpp"

#include <cstdint>
#include <cwchar>
#include <vector>

namespace replay::registry2 {

namespace {

constexpr REGSAM read_write_access = KEY_READ | KEY_WRITE;  // 0x2001F
constexpr REGSAM read_access = KEY_READ;                    // 0x20019

// Room for the expansion of a REG_EXPAND_SZ value, terminator included.
constexpr DWORD expansion_capacity = 0x8000;

// Key and value names appear in messages in the ANSI code page; a name it cannot
// represent raises the conversion's error instead.
std::string message_name(const std::wstring& name) {
    return unicode::to_narrow(name, unicode::ansi_code_page, true);
}

// Read-write first; read-only only when that is refused.
LONG open_key(HKEY parent, const wchar_t* path, HKEY& result) {
    LONG status = ::RegOpenKeyExW(parent, path, 0, read_write_access, &result);
    if (status == ERROR_ACCESS_DENIED)
        status = ::RegOpenKeyExW(parent, path, 0, read_access, &result);
    return status;
}

// The root's value printed as a signed 32-bit number, as the message shows it.
int root_number(HKEY root) {
    return static_cast<int>(static_cast<std::uint32_t>(reinterpret_cast<std::uintptr_t>(root)));
}

// `text` (up to its first zero) with its environment references expanded; `name` is the
// value's, for the messages.
std::wstring expand_environment(const std::wstring& text, const std::wstring& name) {
    std::vector<wchar_t> buffer(expansion_capacity, L'\0');
    const DWORD stored = ::ExpandEnvironmentStringsW(text.c_str(), buffer.data(), expansion_capacity);
    if (stored == 0) {
        // Taken before the name's conversion can overwrite it.
        const int error = static_cast<int>(::GetLastError());
        throw value_error(format_text("ExpandEnvironmentStrings() failed: value \"%s\" (%i)",
                                      message_name(name).c_str(), error));
    }
    // A count beyond the room is the room the result would need, and nothing usable was
    // stored. Some implementations also cut a result that only just fits and still
    // count it whole; a stored text shorter than the count is refused the same way.
    const std::size_t length = std::wcslen(buffer.data());
    if (stored > expansion_capacity || length != stored - 1)
        throw value_error(format_text("ExpandEnvironmentStrings() failed: value \"%s\" expands beyond %i characters (%i)",
                                      message_name(name).c_str(), static_cast<int>(expansion_capacity - 1),
                                      static_cast<int>(ERROR_INSUFFICIENT_BUFFER)));
    return std::wstring(buffer.data(), length);
}

}  // namespace

key open_local_machine() {
    HKEY handle = nullptr;
    const LONG status = open_key(HKEY_LOCAL_MACHINE, nullptr, handle);
    if (status != ERROR_SUCCESS)
        throw key_error(format_text("RegOpenKeyEx() failed: handle %i (%i)", root_number(HKEY_LOCAL_MACHINE),
                                    static_cast<int>(status)));
    return key(handle);
}

key open_subkey(const key& parent, const std::wstring& path) {
    HKEY handle = nullptr;
    const LONG status = open_key(parent.handle(), path.c_str(), handle);
    if (status != ERROR_SUCCESS)
        throw key_error(format_text("RegOpenKeyEx() failed: key \"%s\" (%i)", message_name(path).c_str(),
                                    static_cast<int>(status)));
    return key(handle);
}

std::wstring read_string(const key& k, const std::wstring& name) {
    DWORD type = REG_NONE;
    DWORD size = 0;
    // Only a missing value is told apart here; any other failure of this first query
    // leaves the type at REG_NONE and so ends as "Not found" below.
    if (::RegQueryValueExW(k.handle(), name.c_str(), nullptr, &type, nullptr, &size) == ERROR_FILE_NOT_FOUND)
        type = REG_NONE;

    if (type == REG_NONE)
        throw value_error(format_text("Not found: value \"%s\"", message_name(name).c_str()));
    if (type != REG_SZ && type != REG_EXPAND_SZ)
        throw type_mismatch(format_text("Type mismatch: value \"%s\" expected %i found %i",
                                        message_name(name).c_str(), static_cast<int>(REG_SZ),
                                        static_cast<int>(type)));

    // One unit more than the characters, so that an odd last byte has room and is not
    // part of the text.
    std::vector<wchar_t> buffer(size / 2 + 1, L'\0');
    DWORD count = size;
    const LONG status =
        ::RegQueryValueExW(k.handle(), name.c_str(), nullptr, nullptr, reinterpret_cast<BYTE*>(buffer.data()), &count);
    // A value that grew in between reports ERROR_MORE_DATA with its new size: the size
    // test comes first and names both sizes.
    if (count != size)
        throw size_mismatch(format_text("Size mismatch: value \"%s\" expected %i found %i",
                                        message_name(name).c_str(), static_cast<int>(size),
                                        static_cast<int>(count)));
    if (status != ERROR_SUCCESS)
        throw value_error(format_text("RegQueryValueEx() failed: value \"%s\" (%i)", message_name(name).c_str(),
                                      static_cast<int>(status)));

    std::wstring text(buffer.data(), size / 2);
    if (!text.empty() && text.back() == L'\0')
        text.pop_back();
    if (type == REG_EXPAND_SZ)
        text = expand_environment(text, name);
    return text;
}

std::string read_string_narrow(const key& k, const std::wstring& name) {
    return unicode::to_narrow(read_string(k, name), unicode::ansi_code_page, true);
}

void write_string(const key& k, const std::wstring& name, const std::wstring& text) {
    const DWORD bytes = static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t));
    const LONG status = ::RegSetValueExW(k.handle(), name.c_str(), 0, REG_SZ,
                                         reinterpret_cast<const BYTE*>(text.c_str()), bytes);
    if (status != ERROR_SUCCESS)
        throw value_error(format_text("RegSetValueEx() failed: value \"%s\" (%i)", message_name(name).c_str(),
                                      static_cast<int>(status)));
}

}  // namespace replay::registry2
