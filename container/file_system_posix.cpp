// The system's files on POSIX systems: open, read, write, lseek, rename and unlink on
// file descriptors. Error codes are errno values taken right after each call. POSIX has
// no share modes: a file open for reading can still be replaced by others.
#include "container/file_system.hpp"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <utility>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace container {

namespace {

// Large transfers go in pieces that every system accepts in one call.
constexpr std::size_t max_transfer = 1u << 30;

class posix_file final : public file {
public:
    explicit posix_file(int descriptor) : descriptor_(descriptor) {}
    ~posix_file() override { close(); }

    bool size(std::uint64_t& bytes) override {
        struct stat status;
        if (::fstat(descriptor_, &status) != 0)
            return fail();
        bytes = static_cast<std::uint64_t>(status.st_size);
        return true;
    }

    bool seek(std::uint64_t position) override {
        return ::lseek(descriptor_, static_cast<off_t>(position), SEEK_SET) != off_t(-1) || fail();
    }

    bool read(void* buffer, std::size_t count) override {
        auto out = static_cast<char*>(buffer);
        while (count > 0) {
            const ssize_t done = ::read(descriptor_, out, std::min(count, max_transfer));
            if (done < 0 && errno == EINTR)
                continue;
            if (done < 0)
                return fail();
            if (done == 0) {
                error_ = ENODATA;
                return false;
            }
            out += done;
            count -= static_cast<std::size_t>(done);
        }
        return true;
    }

    bool write(const void* data, std::size_t count) override {
        auto in = static_cast<const char*>(data);
        while (count > 0) {
            const ssize_t done = ::write(descriptor_, in, std::min(count, max_transfer));
            if (done < 0 && errno == EINTR)
                continue;
            if (done <= 0)
                return done < 0 ? fail() : (error_ = EIO, false);
            in += done;
            count -= static_cast<std::size_t>(done);
        }
        return true;
    }

    bool close() override {
        if (descriptor_ < 0)
            return true;
        const int result = ::close(std::exchange(descriptor_, -1));
        return result == 0 || fail();
    }

private:
    bool fail() {
        error_ = static_cast<std::uint32_t>(errno);
        return false;
    }

    int descriptor_;
};

class posix_file_system final : public file_system {
public:
    std::unique_ptr<file> open_read(const std::string& path) override { return open(path, O_RDONLY); }

    std::unique_ptr<file> create(const std::string& path, create_mode mode) override {
        return open(path, O_WRONLY | O_CREAT | (mode == create_mode::replace ? O_TRUNC : O_EXCL));
    }

    bool remove(const std::string& path) override { return ::unlink(path.c_str()) == 0 || fail(); }

    bool rename(const std::string& from, const std::string& to) override {
        return ::rename(from.c_str(), to.c_str()) == 0 || fail();
    }

    std::uint32_t invalid_name_error() const override { return EINVAL; }

private:
    std::unique_ptr<file> open(const std::string& path, int flags) {
        const int descriptor = ::open(path.c_str(), flags | O_CLOEXEC, 0666);
        if (descriptor < 0) {
            fail();
            return nullptr;
        }
        return std::make_unique<posix_file>(descriptor);
    }

    bool fail() {
        error_ = static_cast<std::uint32_t>(errno);
        return false;
    }
};

}  // namespace

file_system& native_file_system() {
    static posix_file_system files;
    return files;
}

}  // namespace container
