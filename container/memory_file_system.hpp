// Files held in memory, for tests: the same share rules as Windows (a file open for
// reading cannot be written, replaced or deleted) and faults that a test switches on.
#pragma once

#include "container/file_system.hpp"

#include <map>
#include <memory>
#include <optional>
#include <string>

namespace container {

class memory_file_system final : public file_system {
public:
    // Error codes this file system reports; any distinct values do.
    static constexpr std::uint32_t not_found = 2;
    static constexpr std::uint32_t sharing_violation = 32;
    static constexpr std::uint32_t end_of_file = 38;
    static constexpr std::uint32_t exists = 80;
    static constexpr std::uint32_t invalid_name = 123;

    // Puts a file with `contents` in place, replacing one of that name.
    void put(const std::string& path, std::string contents);

    // The contents of the file at `path`, or nothing when there is none.
    std::optional<std::string> contents(const std::string& path) const;

    bool exists_file(const std::string& path) const { return files_.count(path) != 0; }
    std::size_t file_count() const { return files_.size(); }

    // How many files are open now, for reading and for writing.
    std::size_t open_files() const;

    // Makes the file at `path` claim `bytes` as its size without holding them, to test
    // limits that real data would take gigabytes to reach.
    void pretend_size(const std::string& path, std::uint64_t bytes) { files_.at(path)->claimed_size = bytes; }

    // Faults: creating a file at `path` fails with `code`.
    void fail_create(const std::string& path, std::uint32_t code) { create_faults_[path] = code; }

    // Faults: creating any file fails with `code`.
    void fail_all_creates(std::uint32_t code) { all_creates_fault_ = code; }

    // Faults: every file created from now on takes `bytes` bytes in all; a write beyond
    // them fails with `code` after writing what fits.
    void limit_writes(std::size_t bytes, std::uint32_t code) { write_limit_ = limit{bytes, code}; }

    // Faults: every rename fails with `code`.
    void fail_renames(std::uint32_t code) { rename_fault_ = code; }

    std::unique_ptr<file> open_read(const std::string& path) override;
    std::unique_ptr<file> create(const std::string& path, create_mode mode) override;
    bool remove(const std::string& path) override;
    bool rename(const std::string& from, const std::string& to) override;
    std::uint32_t invalid_name_error() const override { return invalid_name; }

    // One stored file and the number of its open readers and writers.
    struct entry {
        std::string bytes;
        std::optional<std::uint64_t> claimed_size;
        int readers = 0;
        int writers = 0;
    };
    struct limit {
        std::size_t bytes;
        std::uint32_t code;
    };

private:
    bool fail(std::uint32_t code) {
        error_ = code;
        return false;
    }

    std::map<std::string, std::shared_ptr<entry>> files_;
    std::map<std::string, std::uint32_t> create_faults_;
    std::optional<std::uint32_t> all_creates_fault_;
    std::optional<limit> write_limit_;
    std::optional<std::uint32_t> rename_fault_;
};

}  // namespace container
