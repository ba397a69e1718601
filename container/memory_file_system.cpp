// Files held in memory, with Windows-like sharing and injectable faults.
#include "container/memory_file_system.hpp"

#include <algorithm>
#include <cstring>

namespace container {

namespace {

class memory_file final : public file {
public:
    memory_file(std::shared_ptr<memory_file_system::entry> entry, bool writing,
                 std::optional<memory_file_system::limit> write_limit)
        : entry_(std::move(entry)), writing_(writing), write_limit_(write_limit) {
        (writing_ ? entry_->writers : entry_->readers) += 1;
    }
    ~memory_file() override { close(); }

    bool size(std::uint64_t& bytes) override {
        bytes = entry_->claimed_size.value_or(entry_->bytes.size());
        return true;
    }

    bool seek(std::uint64_t position) override {
        position_ = position;
        return true;
    }

    bool read(void* buffer, std::size_t count) override {
        if (writing_ || position_ > entry_->bytes.size() || entry_->bytes.size() - position_ < count) {
            error_ = memory_file_system::end_of_file;
            return false;
        }
        std::memcpy(buffer, entry_->bytes.data() + position_, count);
        position_ += count;
        return true;
    }

    bool write(const void* data, std::size_t count) override {
        std::size_t accepted = count;
        if (write_limit_)
            accepted = std::min(count, write_limit_->bytes - std::min(write_limit_->bytes, written_));
        std::string& bytes = entry_->bytes;
        if (bytes.size() < position_ + accepted)
            bytes.resize(position_ + accepted);
        bytes.replace(position_, accepted, static_cast<const char*>(data), accepted);
        position_ += accepted;
        written_ += accepted;
        if (accepted < count) {
            error_ = write_limit_->code;
            return false;
        }
        return true;
    }

    bool close() override {
        if (entry_)
            (writing_ ? entry_->writers : entry_->readers) -= 1;
        entry_.reset();
        return true;
    }

private:
    std::shared_ptr<memory_file_system::entry> entry_;
    bool writing_;
    std::optional<memory_file_system::limit> write_limit_;
    std::uint64_t position_ = 0;
    std::size_t written_ = 0;
};

}  // namespace

void memory_file_system::put(const std::string& path, std::string contents) {
    auto fresh = std::make_shared<entry>();
    fresh->bytes = std::move(contents);
    files_[path] = std::move(fresh);
}

std::optional<std::string> memory_file_system::contents(const std::string& path) const {
    const auto found = files_.find(path);
    if (found == files_.end())
        return std::nullopt;
    return found->second->bytes;
}

std::size_t memory_file_system::open_files() const {
    std::size_t count = 0;
    for (const auto& file : files_)
        count += static_cast<std::size_t>(file.second->readers + file.second->writers);
    return count;
}

std::unique_ptr<file> memory_file_system::open_read(const std::string& path) {
    const auto found = files_.find(path);
    if (found == files_.end()) {
        fail(not_found);
        return nullptr;
    }
    if (found->second->writers > 0) {
        fail(sharing_violation);
        return nullptr;
    }
    return std::make_unique<memory_file>(found->second, false, std::nullopt);
}

std::unique_ptr<file> memory_file_system::create(const std::string& path, create_mode mode) {
    if (all_creates_fault_) {
        fail(*all_creates_fault_);
        return nullptr;
    }
    if (const auto fault = create_faults_.find(path); fault != create_faults_.end()) {
        fail(fault->second);
        return nullptr;
    }
    const auto found = files_.find(path);
    if (found != files_.end()) {
        if (mode == create_mode::new_only) {
            fail(exists);
            return nullptr;
        }
        if (found->second->readers > 0 || found->second->writers > 0) {
            fail(sharing_violation);
            return nullptr;
        }
    }
    // A replaced file's old contents stay with whoever still refers to them.
    auto fresh = std::make_shared<entry>();
    files_[path] = fresh;
    return std::make_unique<memory_file>(fresh, true, write_limit_);
}

bool memory_file_system::remove(const std::string& path) {
    const auto found = files_.find(path);
    if (found == files_.end())
        return fail(not_found);
    if (found->second->readers > 0 || found->second->writers > 0)
        return fail(sharing_violation);
    files_.erase(found);
    return true;
}

bool memory_file_system::rename(const std::string& from, const std::string& to) {
    if (rename_fault_)
        return fail(*rename_fault_);
    const auto source = files_.find(from);
    if (source == files_.end())
        return fail(not_found);
    const auto target = files_.find(to);
    const auto busy = [](const entry& e) { return e.readers > 0 || e.writers > 0; };
    if (busy(*source->second) || (target != files_.end() && busy(*target->second)))
        return fail(sharing_violation);
    auto moved = source->second;
    files_.erase(source);
    files_[to] = std::move(moved);
    return true;
}

}  // namespace container
