// The system's files on Windows: CreateFileA, ReadFile, WriteFile, SetFilePointerEx,
// MoveFileExA and DeleteFileA. Error codes come from GetLastError right after each call.
#include "container/file_system.hpp"

#include "support/win/unique_handle.hpp"
#include "support/win/windows.hpp"

#include <algorithm>

namespace container {

namespace {

// ReadFile and WriteFile take 32-bit counts.
constexpr std::size_t max_transfer = 1u << 30;

class win_file final : public file {
public:
    explicit win_file(HANDLE handle) : handle_(handle) {}

    bool size(std::uint64_t& bytes) override {
        LARGE_INTEGER value;
        if (!::GetFileSizeEx(handle_.get(), &value))
            return fail();
        bytes = static_cast<std::uint64_t>(value.QuadPart);
        return true;
    }

    bool seek(std::uint64_t position) override {
        LARGE_INTEGER distance;
        distance.QuadPart = static_cast<LONGLONG>(position);
        return ::SetFilePointerEx(handle_.get(), distance, nullptr, FILE_BEGIN) || fail();
    }

    bool read(void* buffer, std::size_t count) override {
        auto out = static_cast<char*>(buffer);
        while (count > 0) {
            DWORD done = 0;
            if (!::ReadFile(handle_.get(), out, static_cast<DWORD>(std::min(count, max_transfer)), &done, nullptr))
                return fail();
            if (done == 0) {
                error_ = ERROR_HANDLE_EOF;
                return false;
            }
            out += done;
            count -= done;
        }
        return true;
    }

    bool write(const void* data, std::size_t count) override {
        auto in = static_cast<const char*>(data);
        while (count > 0) {
            DWORD done = 0;
            if (!::WriteFile(handle_.get(), in, static_cast<DWORD>(std::min(count, max_transfer)), &done, nullptr))
                return fail();
            if (done == 0) {
                error_ = ERROR_WRITE_FAULT;
                return false;
            }
            in += done;
            count -= done;
        }
        return true;
    }

    bool close() override {
        if (!handle_)
            return true;
        return ::CloseHandle(handle_.release()) || fail();
    }

private:
    bool fail() {
        error_ = ::GetLastError();
        return false;
    }

    replay::win::file_handle handle_;
};

class win_file_system final : public file_system {
public:
    std::unique_ptr<file> open_read(const std::string& path) override {
        return open(path, GENERIC_READ, OPEN_EXISTING);
    }

    std::unique_ptr<file> create(const std::string& path, create_mode mode) override {
        return open(path, GENERIC_WRITE, mode == create_mode::replace ? CREATE_ALWAYS : CREATE_NEW);
    }

    bool remove(const std::string& path) override { return ::DeleteFileA(path.c_str()) || fail(); }

    bool rename(const std::string& from, const std::string& to) override {
        return ::MoveFileExA(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING) || fail();
    }

    std::uint32_t invalid_name_error() const override { return ERROR_INVALID_NAME; }

private:
    std::unique_ptr<file> open(const std::string& path, DWORD access, DWORD disposition) {
        HANDLE handle = ::CreateFileA(path.c_str(), access, FILE_SHARE_READ, nullptr, disposition,
                                      FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
        if (handle == INVALID_HANDLE_VALUE) {
            fail();
            return nullptr;
        }
        return std::make_unique<win_file>(handle);
    }

    bool fail() {
        error_ = ::GetLastError();
        return false;
    }
};

}  // namespace

file_system& native_file_system() {
    static win_file_system files;
    return files;
}

}  // namespace container
