// Extraction of a valid installer with each call of the file interface failing in turn
// (the first open, the second read, the third write, ...): every run must end in one of
// the reader's documented outcomes, with no partial payload under its own name and no
// open file, and a complete, valid verdict only when every record was read and verified.
#include "container/memory_file_system.hpp"
#include "container/messages.hpp"
#include "container/reader.hpp"
#include "support/text/system_error_text.hpp"
#include "tests/common/recording_reporter.hpp"
#include "tests/container/test_container.hpp"

#include <gtest/gtest.h>

#include <map>
#include <set>
#include <tuple>
#include <utility>

namespace {

using container::memory_file_system;
using container_test::test_container;

enum class operation { open_read, create, remove, rename, size, seek, read, write, close };

const char* name_of(operation op) {
    static const char* const names[] = {"open_read", "create", "remove", "rename", "size",
                                        "seek",      "read",   "write",  "close"};
    return names[static_cast<int>(op)];
}

void PrintTo(operation op, std::ostream* out) { *out << name_of(op); }

// Passes every call to the files in memory and fails chosen calls (the n-th call of an
// operation) with one error code, the way the system fails them: a failed write has
// written part of its bytes, a failed close has closed the file all the same.
class faulty_files final : public container::file_system {
public:
    faulty_files(container::file_system& inner, std::uint32_t code) : inner_(inner), code_(code) {}

    // Makes call number `occurrence` (from 0) of `op` fail.
    void fail(operation op, int occurrence) { faults_.emplace(op, occurrence); }

    int calls(operation op) const {
        const auto found = calls_.find(op);
        return found == calls_.end() ? 0 : found->second;
    }

    // Counts the call; true when it is the one to fail.
    bool strikes(operation op) {
        const int index = calls_[op]++;
        return faults_.count({op, index}) != 0;
    }
    std::uint32_t code() const { return code_; }

    std::unique_ptr<container::file> open_read(const std::string& path) override {
        if (strikes(operation::open_read))
            return refused();
        return wrap(inner_.open_read(path));
    }
    std::unique_ptr<container::file> create(const std::string& path, container::create_mode mode) override {
        if (strikes(operation::create))
            return refused();
        return wrap(inner_.create(path, mode));
    }
    bool remove(const std::string& path) override {
        return strikes(operation::remove) ? failed() : pass(inner_.remove(path));
    }
    bool rename(const std::string& from, const std::string& to) override {
        return strikes(operation::rename) ? failed() : pass(inner_.rename(from, to));
    }
    std::uint32_t invalid_name_error() const override { return inner_.invalid_name_error(); }

private:
    class faulty_file final : public container::file {
    public:
        faulty_file(std::unique_ptr<container::file> inner, faulty_files& owner)
            : inner_(std::move(inner)), owner_(owner) {}

        bool size(std::uint64_t& bytes) override {
            return owner_.strikes(operation::size) ? failed() : pass(inner_->size(bytes));
        }
        bool seek(std::uint64_t position) override {
            return owner_.strikes(operation::seek) ? failed() : pass(inner_->seek(position));
        }
        bool read(void* buffer, std::size_t count) override {
            return owner_.strikes(operation::read) ? failed() : pass(inner_->read(buffer, count));
        }
        bool write(const void* data, std::size_t count) override {
            if (owner_.strikes(operation::write)) {
                // The disk took half of it.
                inner_->write(data, count / 2);
                return failed();
            }
            return pass(inner_->write(data, count));
        }
        bool close() override {
            if (owner_.strikes(operation::close)) {
                inner_->close();
                return failed();
            }
            return pass(inner_->close());
        }

    private:
        bool failed() {
            error_ = owner_.code();
            return false;
        }
        bool pass(bool result) {
            error_ = inner_->error();
            return result;
        }

        std::unique_ptr<container::file> inner_;
        faulty_files& owner_;
    };

    std::unique_ptr<container::file> wrap(std::unique_ptr<container::file> file) {
        error_ = inner_.error();
        return file ? std::make_unique<faulty_file>(std::move(file), *this) : nullptr;
    }
    std::unique_ptr<container::file> refused() {
        error_ = code_;
        return nullptr;
    }
    bool failed() {
        error_ = code_;
        return false;
    }
    bool pass(bool result) {
        error_ = inner_.error();
        return result;
    }

    container::file_system& inner_;
    std::uint32_t code_;
    std::map<operation, int> calls_;
    std::set<std::pair<operation, int>> faults_;
};

const std::string installer_path = "C:\\installer.exe";
const std::string directory = "C:\\Temp\\QZV1\\";
constexpr std::uint32_t fault_code = 1117;  // ERROR_IO_DEVICE: any code the reader did not make itself

// A payload of several read and write pieces, a second stored file, and values on both
// sides of them.
const std::string payload = [] {
    std::string bytes(2 * container::chunk_size + 12345, '\0');
    for (std::size_t k = 0; k < bytes.size(); ++k)
        bytes[k] = static_cast<char>(k * 131 + k / 7);
    return bytes;
}();
const std::map<std::string, std::string> stored_files = {{"QZVPROSetup.exe", payload}, {"readme.txt", "read me"}};

std::string installer() {
    test_container c;
    c.value("language", "1033")
        .file("notes", "readme.txt", "read me")
        .file("installer32", "QZVPROSetup.exe", payload)
        .value("executable32", "%installer32%")
        .value("parameters", "/V\"A=1\"")
        .tail()
        .trailing(std::string(3, '\0') + std::string(900, 'c'));
    return c.bytes();
}

// What one extraction left behind.
struct outcome {
    testing_support::recording_reporter reporter;
    container::value_table values;
    container::extraction run{reporter, directory, values};
    memory_file_system files;
    std::size_t open_after_release = 0;
};

void extract(faulty_files& faulty, outcome& result, bool hold_files) {
    result.run.hold_files = hold_files;
    container::extract_container(faulty, installer_path, result.run);
    result.run.release_files();
    result.open_after_release = result.files.open_files();
}

class fault_injection : public testing::TestWithParam<std::tuple<operation, bool>> {
protected:
    // A run with no fault: how often each operation is called and what a full read leaves.
    void SetUp() override {
        clean_.files.put(installer_path, installer());
        faulty_files counting(clean_.files, fault_code);
        extract(counting, clean_, hold_files());
        ASSERT_TRUE(clean_.run.archive_valid && clean_.run.complete);
        ASSERT_TRUE(clean_.reporter.shown.empty());
        calls_ = counting.calls(op());
    }

    operation op() const { return std::get<0>(GetParam()); }
    bool hold_files() const { return std::get<1>(GetParam()); }

    // The captions a failure of this operation may show; a fault is never a damaged archive.
    std::set<std::vector<std::string>> allowed_captions(int occurrence) const {
        switch (op()) {
        case operation::open_read:
            // The first open is the installer's; later ones hold the written files.
            return {{occurrence == 0 ? "Failed to open archive!" : "Failed to extract file!"}};
        case operation::size:
            return {{"Failed to initialize archive!"}};
        case operation::seek:
        case operation::read:
            // During the search for the tail, or silently inside the chain.
            return {{"Failed to initialize archive!"}, {}};
        default:
            return {{"Failed to extract file!"}};
        }
    }

    outcome clean_;
    int calls_ = 0;
};

TEST_P(fault_injection, each_failing_call_ends_in_a_documented_outcome) {
    if (calls_ == 0)
        GTEST_SKIP() << name_of(op()) << " is not called by a run without faults";
    for (int occurrence = 0; occurrence < calls_; ++occurrence) {
        SCOPED_TRACE(std::string(name_of(op())) + " call #" + std::to_string(occurrence + 1) + " of " +
                     std::to_string(calls_));
        outcome result;
        result.files.put(installer_path, installer());
        faulty_files faulty(result.files, fault_code);
        faulty.fail(op(), occurrence);
        extract(faulty, result, hold_files());
        const container::extraction& run = result.run;

        const std::vector<std::string> captions = result.reporter.captions();
        if (run.archive_valid && run.complete) {
            // Only a fault that a retry absorbed (another temporary name) may end like
            // this, and then nothing may differ from a run without faults.
            EXPECT_TRUE(captions.empty());
            EXPECT_EQ(run.written_files, clean_.run.written_files);
        } else {
            EXPECT_EQ(allowed_captions(occurrence).count(captions), 1u)
                << "captions: " << testing::PrintToString(captions);
        }
        if (captions == std::vector<std::string>{"Failed to extract file!"}) {
            // Names the stored file concerned and the system's text for the fault.
            const std::string& text = result.reporter.shown[0].second;
            const std::string error = "\rError: " + replay::system_error_text(fault_code);
            EXPECT_TRUE(text == "File: " + directory + "QZVPROSetup.exe" + error ||
                        text == "File: " + directory + "readme.txt" + error)
                << text;
            EXPECT_TRUE(run.archive_valid) << "a file that cannot be written leaves the flag as the tail set it";
        }

        // Only whole, verified files under their own names; no temporary copy stays.
        EXPECT_EQ(result.files.file_count(), 1 + run.written_files.size());
        for (const std::string& written : run.written_files) {
            const std::string name = written.substr(directory.size());
            ASSERT_EQ(stored_files.count(name), 1u) << written;
            EXPECT_EQ(result.files.contents(written), stored_files.at(name)) << "partial payload under " << written;
        }
        EXPECT_EQ(result.open_after_release, 0u);

        // A value is either missing or the one a full read gives.
        for (const char* name : {"parameters", "executable32", "installer32", "notes", "language"}) {
            const std::string* value = result.values.find(name);
            if (value) {
                EXPECT_EQ(*value, *clean_.values.find(name)) << name;
            } else {
                EXPECT_FALSE(run.archive_valid && run.complete) << name << " is missing after a complete read";
            }
        }
        // What a run would launch after this extraction: nothing, or the verified payload.
        if (run.archive_valid) {
            const std::string launched = directory + container::expand_values("%executable32%", result.values);
            const auto bytes = result.files.contents(launched);
            EXPECT_TRUE(!bytes || *bytes == payload) << launched;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(
    every_call, fault_injection,
    testing::Combine(testing::Values(operation::open_read, operation::create, operation::rename, operation::size,
                                     operation::seek, operation::read, operation::write, operation::close),
                     testing::Bool()),
    [](const testing::TestParamInfo<std::tuple<operation, bool>>& info) {
        return std::string(name_of(std::get<0>(info.param))) + (std::get<1>(info.param) ? "_holding" : "");
    });

// Removing is only the clean-up after another failure: when the clean-up fails too, the
// partial copy stays under its temporary name, never under the stored file's own name.
TEST(fault_injection_cleanup, a_failed_removal_leaves_partial_data_under_the_temporary_name_only) {
    outcome result;
    result.files.put(installer_path, installer());
    faulty_files faulty(result.files, fault_code);
    faulty.fail(operation::write, 0);
    faulty.fail(operation::remove, 0);
    extract(faulty, result, false);

    EXPECT_EQ(result.reporter.captions(), std::vector<std::string>{"Failed to extract file!"});
    EXPECT_EQ(faulty.calls(operation::remove), 1);
    EXPECT_FALSE(result.files.exists_file(directory + "QZVPROSetup.exe"));
    EXPECT_FALSE(result.files.exists_file(directory + "readme.txt"));
    EXPECT_EQ(result.files.file_count(), 2u);
    EXPECT_EQ(result.files.contents(directory + "~extracting0.tmp"), payload.substr(0, container::chunk_size / 2));
}

}  // namespace
