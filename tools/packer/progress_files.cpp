// Counting the bytes read through a file system for a progress display.
#include "tools/packer/progress_files.hpp"

namespace tools {

namespace {

class counted_file final : public container::file {
public:
    counted_file(std::unique_ptr<container::file> inner, progress& meter) : inner_(std::move(inner)), meter_(meter) {}

    bool size(std::uint64_t& bytes) override { return pass(inner_->size(bytes)); }
    bool seek(std::uint64_t position) override { return pass(inner_->seek(position)); }
    bool read(void* buffer, std::size_t count) override {
        if (!inner_->read(buffer, count))
            return pass(false);
        meter_.advance(count);
        return true;
    }
    bool write(const void* data, std::size_t count) override { return pass(inner_->write(data, count)); }
    bool close() override { return pass(inner_->close()); }

private:
    bool pass(bool result) {
        error_ = inner_->error();
        return result;
    }

    std::unique_ptr<container::file> inner_;
    progress& meter_;
};

}  // namespace

std::unique_ptr<container::file> progress_files::open_read(const std::string& path) {
    std::unique_ptr<container::file> opened = inner_.open_read(path);
    error_ = inner_.error();
    return opened ? std::make_unique<counted_file>(std::move(opened), meter_) : nullptr;
}

std::unique_ptr<container::file> progress_files::create(const std::string& path, container::create_mode mode) {
    std::unique_ptr<container::file> created = inner_.create(path, mode);
    error_ = inner_.error();
    return created;
}

bool progress_files::remove(const std::string& path) { return pass(inner_.remove(path)); }

bool progress_files::rename(const std::string& from, const std::string& to) { return pass(inner_.rename(from, to)); }

}  // namespace tools
