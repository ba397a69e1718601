// The working directory's Windows services: the temporary folder, creating the
// directory with a restricted access list, and removing a tree.
#include "bootstrap/working_directory.hpp"

#include "support/win/unique_handle.hpp"

#include <sddl.h>

namespace bootstrap {

namespace {

constexpr DWORD path_buffer_size = 260;

// SYSTEM and Administrators have full control, the Users group may read and run what
// is inside; the list is protected from the temporary folder's inherited entries.
constexpr const char* elevated_directory_access =
    "D:P(A;OICI;FA;;;SY)(A;OICI;FA;;;BA)(A;OICI;0x1200a9;;;BU)";

bool process_is_elevated() {
    HANDLE token_handle = nullptr;
    if (!::OpenProcessToken(::GetCurrentProcess(), TOKEN_QUERY, &token_handle))
        return false;
    const replay::win::kernel_handle token(token_handle);
    TOKEN_ELEVATION elevation{};
    DWORD size = 0;
    return ::GetTokenInformation(token.get(), TokenElevation, &elevation, sizeof elevation, &size) &&
           elevation.TokenIsElevated != 0;
}

// Owns a security descriptor made from a descriptor string.
class restricted_security {
public:
    restricted_security() {
        if (process_is_elevated())
            ::ConvertStringSecurityDescriptorToSecurityDescriptorA(elevated_directory_access, SDDL_REVISION_1,
                                                                   &descriptor_, nullptr);
    }
    ~restricted_security() {
        if (descriptor_ != nullptr)
            ::LocalFree(descriptor_);
    }
    restricted_security(const restricted_security&) = delete;
    restricted_security& operator=(const restricted_security&) = delete;

    // Null when the process is not elevated: the directory then inherits its access list.
    SECURITY_ATTRIBUTES* attributes() {
        if (descriptor_ == nullptr)
            return nullptr;
        attributes_ = {sizeof attributes_, descriptor_, FALSE};
        return &attributes_;
    }

private:
    PSECURITY_DESCRIPTOR descriptor_ = nullptr;
    SECURITY_ATTRIBUTES attributes_{};
};

bool is_separator(char c) { return c == '\\' || c == '/'; }

}  // namespace

std::string temp_folder_path() {
    char buffer[path_buffer_size];
    const DWORD length = ::GetTempPathA(path_buffer_size, buffer);
    // A longer path is reported only by its length; the buffer then holds nothing usable.
    if (length == 0 || length >= path_buffer_size)
        return {};
    return std::string(buffer, length);
}

void create_folder(const std::string& path) { ::CreateDirectoryA(path.c_str(), nullptr); }

std::optional<std::string> create_working_directory(const std::string& temp_folder, std::int32_t number) {
    restricted_security security;
    for (int attempt = 0; attempt < working_directory_attempts; ++attempt) {
        const std::int32_t candidate =
            static_cast<std::int32_t>(static_cast<std::uint32_t>(number) + static_cast<std::uint32_t>(attempt));
        std::string path = working_directory_name(temp_folder, candidate);
        if (::CreateDirectoryA(path.c_str(), security.attributes()))
            return path;
        if (::GetLastError() != ERROR_ALREADY_EXISTS)
            return std::nullopt;
    }
    return std::nullopt;
}

bool remove_tree(const std::string& path) {
    std::string directory = path;
    if (directory.empty() || !is_separator(directory.back()))
        directory += '\\';

    WIN32_FIND_DATAA entry;
    replay::win::find_handle search(::FindFirstFileA((directory + "*").c_str(), &entry));
    if (!search)
        return false;
    do {
        const std::string entry_path = directory + entry.cFileName;
        const DWORD attributes = entry.dwFileAttributes;
        if ((attributes & FILE_ATTRIBUTE_DIRECTORY) == 0) {
            ::DeleteFileA(entry_path.c_str());
        } else if (entry.cFileName[0] == '.') {
            // ".", ".." and every other directory whose name begins with a dot stay.
        } else if ((attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0) {
            // A link to a directory elsewhere: remove the link, never what it points at.
            ::RemoveDirectoryA(entry_path.c_str());
        } else {
            remove_tree(entry_path);
        }
    } while (::FindNextFileA(search.get(), &entry));
    search.reset();
    return ::RemoveDirectoryA(directory.c_str()) != 0;
}

}  // namespace bootstrap
