// The log file sink: appending and rotation with the Windows file services.
#include "support/log/file.hpp"

#include "support/exceptions/exception.hpp"
#include "support/log/file_mutex_name.hpp"
#include "support/log/rotation.hpp"
#include "support/sync/scope.hpp"
#include "support/win/windows.hpp"

#include <string_view>
#include <utility>
#include <vector>

namespace replay::log {
namespace {

constexpr std::string_view byte_order_mark = "\xEF\xBB\xBF";

// The full path of the base name, so that every spelling of one file names one mutex.
// Should the system not resolve it, the name as given still serves writers that spell
// it alike.
std::string full_path(const std::string& name) {
    const DWORD needed = ::GetFullPathNameA(name.c_str(), 0, nullptr, nullptr);
    if (needed == 0)
        return name;
    std::vector<char> buffer(needed);
    const DWORD length = ::GetFullPathNameA(name.c_str(), needed, buffer.data(), nullptr);
    if (length == 0 || length >= needed)
        return name;
    return std::string(buffer.data(), length);
}

win::file_handle open_live_file(const std::string& name) {
    // Shared for reading, writing and deleting: other writers keep it open too, and the
    // rotation copies it while it is open.
    win::file_handle handle(::CreateFileA(name.c_str(), GENERIC_READ | GENERIC_WRITE,
                                          FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                          nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!handle)
        throw exception("CreateFile failed: %s (%i)", name.c_str(), static_cast<int>(::GetLastError()));
    return handle;
}

// Results of the writes are ignored: a log line that cannot be written is lost rather
// than allowed to stop the program that logs.
void write_bytes(HANDLE handle, std::string_view bytes) {
    DWORD written = 0;
    ::WriteFile(handle, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
}

void empty_file(HANDLE handle) {
    ::SetFilePointer(handle, 0, nullptr, FILE_BEGIN);
    ::SetEndOfFile(handle);
    write_bytes(handle, byte_order_mark);
}

// The rotation's file operations on the live file and its copies.
class sink_files final : public rotation_files {
public:
    sink_files(HANDLE live, std::string live_name) : live_(live), live_name_(std::move(live_name)) {}

    bool copy_live_to(const std::string& copy_name) override {
        return ::CopyFileA(live_name_.c_str(), copy_name.c_str(), TRUE) != FALSE;
    }
    bool move_replacing(const std::string& from, const std::string& to) override {
        return ::MoveFileExA(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING) != FALSE;
    }
    void remove(const std::string& name) override { ::DeleteFileA(name.c_str()); }
    void empty_live() override { empty_file(live_); }

private:
    HANDLE live_;
    std::string live_name_;
};

}  // namespace

file::file(const std::string& base_name, std::uint32_t max_size, std::uint32_t copies)
    : lock_(log_mutex_name(full_path(base_name))),
      base_name_(base_name),
      max_size_(max_size),
      copies_(copies),
      file_(open_live_file(live_file_name(base_name))) {
    scope guard(&lock_);
    if (::GetFileSize(file_.get(), nullptr) == 0)
        write_bytes(file_.get(), byte_order_mark);
}

// The members' order makes their destruction close the file, release the base name and
// then close the mutex.
file::~file() = default;

void file::write(std::int32_t, const std::string& stamp, const std::string& text) {
    scope guard(&lock_);
    // The low 32 bits of the size; a failed query (INVALID_FILE_SIZE) counts as full.
    if (::GetFileSize(file_.get(), nullptr) >= max_size_) {
        sink_files files(file_.get(), live_file_name(base_name_));
        rotate(files, base_name_, copies_);
    }
    ::SetFilePointer(file_.get(), 0, nullptr, FILE_END);
    write_bytes(file_.get(), stamp + text + "\r\n");
}

}  // namespace replay::log
