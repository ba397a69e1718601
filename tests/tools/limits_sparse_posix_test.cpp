// A 2 GiB installer, kept sparse on disk, read natively by the tool's verify command and
// by the container reader: the payload record of the format's largest size is streamed,
// so the peak memory of the process that reads it stays far below the record's size.
#include "container/file_system.hpp"
#include "container/md5.hpp"
#include "container/reader.hpp"
#include "container/record_format.hpp"
#include "container/record_reader.hpp"
#include "tests/common/recording_reporter.hpp"
#include "tests/tools/packer_runner.hpp"
#include "tools/packer/packer.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <iostream>
#include <sstream>
#include <vector>
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;
namespace format = container::record_format;

constexpr std::uint64_t big_length = format::max_data_length;
// A process that held the big record whole would need at least its 2 GiB; one that
// streams it needs its pieces and the program itself.
constexpr long memory_bound_kib = 512 * 1024;

// The digest of big_length zero bytes, computed once.
const std::string& zeros_digest() {
    static const std::string digest = [] {
        container::md5 hash;
        const std::vector<char> zeros(container::chunk_size, '\0');
        for (std::uint64_t left = big_length; left > 0;) {
            const std::size_t piece = static_cast<std::size_t>(std::min<std::uint64_t>(left, zeros.size()));
            hash.update(zeros.data(), piece);
            left -= piece;
        }
        return hash.digest();
    }();
    return digest;
}

// An installer whose payload record holds big_length zero bytes that the file system
// keeps as a hole: only the small records are written.
class sparse_installer {
public:
    // `length` goes into the payload's length field (big_length, or something else to
    // damage it); `digest` is stored as the payload's digest.
    bool write(const std::string& path, std::uint32_t length, const std::string& digest) {
        const int descriptor = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
        if (descriptor < 0)
            return false;
        std::string head;
        format::append_record(head, "MZ small stub image");
        format::append_record(head, format::stub_file_name);
        format::append_record(head, format::stub_name);
        format::append_record(head, format::stub_kind);
        std::string tail = format::record_trailer(length, digest);
        format::append_record(tail, "QZVPROSetup.exe");
        format::append_record(tail, "installer32");
        format::append_record(tail, format::file_kind);
        format::append_record(tail, "/V\"A=1\"");
        format::append_record(tail, "parameters");
        format::append_record(tail, format::value_kind);
        format::append_record(tail, format::tail_text);
        size_ = head.size() + big_length + tail.size();
        const bool written = ::ftruncate(descriptor, static_cast<off_t>(size_)) == 0 &&
                             ::pwrite(descriptor, head.data(), head.size(), 0) == static_cast<ssize_t>(head.size()) &&
                             ::pwrite(descriptor, tail.data(), tail.size(), static_cast<off_t>(head.size() + big_length)) ==
                                 static_cast<ssize_t>(tail.size());
        struct stat status;
        sparse_ = written && ::fstat(descriptor, &status) == 0 &&
                  static_cast<std::uint64_t>(status.st_blocks) * 512 < (std::uint64_t{64} << 20);
        return ::close(descriptor) == 0 && written;
    }

    bool sparse() const { return sparse_; }
    std::uint64_t size() const { return size_; }

private:
    std::uint64_t size_ = 0;
    bool sparse_ = false;
};

// What a child process reported and the most memory it had resident.
struct child_result {
    bool exited = false;
    std::string report;
    long peak_rss_kib = 0;
};

// Runs `work` in a child process of its own, so that its peak memory is its own.
child_result run_in_child(const std::function<std::string()>& work) {
    int pipe_ends[2];
    if (::pipe(pipe_ends) != 0)
        return {};
    const pid_t child = ::fork();
    if (child == 0) {
        ::close(pipe_ends[0]);
        const std::string report = work();
        const bool sent = ::write(pipe_ends[1], report.data(), report.size()) == static_cast<ssize_t>(report.size());
        ::_exit(sent ? 0 : 1);
    }
    ::close(pipe_ends[1]);
    child_result result;
    char buffer[4096];
    for (ssize_t got; (got = ::read(pipe_ends[0], buffer, sizeof buffer)) > 0;)
        result.report.append(buffer, static_cast<std::size_t>(got));
    ::close(pipe_ends[0]);
    int status = 0;
    struct rusage usage {};
    if (child > 0 && ::wait4(child, &status, 0, &usage) == child) {
        result.exited = WIFEXITED(status) && WEXITSTATUS(status) == 0;
        result.peak_rss_kib = usage.ru_maxrss;
    }
    return result;
}

// Reads the system's files; files it creates take any bytes and keep none, so that an
// extraction of 2 GiB needs no disk space.
class discarding_files final : public container::file_system {
public:
    std::unique_ptr<container::file> open_read(const std::string& path) override {
        auto file = container::native_file_system().open_read(path);
        error_ = container::native_file_system().error();
        return file;
    }
    std::unique_ptr<container::file> create(const std::string&, container::create_mode) override {
        return std::make_unique<sink>(largest_);
    }
    bool remove(const std::string&) override { return true; }
    bool rename(const std::string&, const std::string&) override { return true; }
    std::uint32_t invalid_name_error() const override { return 22; }

    std::uint64_t largest_file() const { return largest_; }

private:
    class sink final : public container::file {
    public:
        explicit sink(std::uint64_t& largest) : largest_(largest) {}
        bool size(std::uint64_t& bytes) override {
            bytes = written_;
            return true;
        }
        bool seek(std::uint64_t) override { return false; }
        bool read(void*, std::size_t) override { return false; }
        bool write(const void*, std::size_t count) override {
            written_ += count;
            largest_ = std::max(largest_, written_);
            return true;
        }
        bool close() override { return true; }

    private:
        std::uint64_t& largest_;
        std::uint64_t written_ = 0;
    };

    std::uint64_t largest_ = 0;
};

class sparse_limits : public testing::Test {
protected:
    void SetUp() override {
        folder_ = testing_support::fresh_test_folder("sparse_");
        path_ = (folder_ / "installer.exe").string();
    }
    void TearDown() override { fs::remove_all(folder_); }

    // Writes the installer, or skips the test where the file system keeps no holes.
    void write_installer(std::uint32_t length, const std::string& digest) {
        ASSERT_TRUE(installer_.write(path_, length, digest)) << path_;
        if (!installer_.sparse())
            GTEST_SKIP() << "the file system under " << folder_ << " does not keep sparse files";
    }

    static std::string verify_in_child(const std::string& path) {
        std::ostringstream out, err;
        tools::tool_context context{out, err, container::native_file_system(), false};
        const int status = tools::run_packer({"verify", path}, context);
        return std::to_string(status) + "\n" + out.str() + err.str();
    }

    static std::string extract_in_child(const std::string& path) {
        discarding_files files;
        testing_support::recording_reporter reporter;
        container::value_table values;
        container::extraction run{reporter, "work/", values};
        container::extract_container(files, path, run);
        std::string report = std::string(run.archive_valid ? "valid" : "invalid") + (run.complete ? " complete" : "") +
                             " largest=" + std::to_string(files.largest_file());
        for (const auto& shown : reporter.shown)
            report += " [" + shown.first + "]";
        return report;
    }

    void expect_bounded(const child_result& child, const char* what) {
        EXPECT_TRUE(child.exited) << what;
        EXPECT_LT(child.peak_rss_kib, memory_bound_kib) << what << ": the record was held in memory";
        RecordProperty(std::string(what) + "_peak_rss_kib", std::to_string(child.peak_rss_kib));
        std::cout << what << ": peak resident memory " << child.peak_rss_kib << " KiB for an installer of "
                  << installer_.size() << " bytes\n";
    }

    fs::path folder_;
    std::string path_;
    sparse_installer installer_;
};

TEST_F(sparse_limits, the_largest_payload_record_is_verified_and_extracted_in_pieces) {
    write_installer(static_cast<std::uint32_t>(big_length), zeros_digest());

    const child_result verify = run_in_child([this] { return verify_in_child(path_); });
    expect_bounded(verify, "verify");
    EXPECT_EQ(verify.report, "0\n" + path_ + ": 10 records verified, the container reads completely\n");

    const child_result extract = run_in_child([this] { return extract_in_child(path_); });
    expect_bounded(extract, "extract");
    EXPECT_EQ(extract.report, "valid complete largest=" + std::to_string(big_length));
}

TEST_F(sparse_limits, a_damaged_payload_of_the_largest_size_is_refused_after_streaming) {
    write_installer(static_cast<std::uint32_t>(big_length), std::string(16, 'x'));
    const child_result extract = run_in_child([this] { return extract_in_child(path_); });
    expect_bounded(extract, "extract_damaged");
    // The data went to a temporary file that was removed; nothing counts as extracted.
    EXPECT_EQ(extract.report, "invalid largest=" + std::to_string(big_length) + " [Invalid Archive!]");
}

TEST_F(sparse_limits, a_length_one_above_the_limit_is_refused_before_reading) {
    // The file is big enough for the length; the format's limit alone refuses it.
    write_installer(static_cast<std::uint32_t>(big_length + 1), zeros_digest());
    const child_result verify = run_in_child([this] { return verify_in_child(path_); });
    expect_bounded(verify, "verify_over_limit");
    EXPECT_EQ(verify.report.rfind("1\n", 0), 0u) << verify.report;
    EXPECT_NE(verify.report.find("cannot be read"), std::string::npos) << verify.report;

    const child_result extract = run_in_child([this] { return extract_in_child(path_); });
    EXPECT_EQ(extract.report, "valid largest=0");
}

}  // namespace
