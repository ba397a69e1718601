// A file system that tells a progress display how many bytes its files read, so that a
// long extraction shows progress without the reader knowing of it.
#pragma once

#include "container/file_system.hpp"
#include "tools/packer/progress.hpp"

namespace tools {

class progress_files final : public container::file_system {
public:
    progress_files(container::file_system& inner, progress& meter) : inner_(inner), meter_(meter) {}

    std::unique_ptr<container::file> open_read(const std::string& path) override;
    std::unique_ptr<container::file> create(const std::string& path, container::create_mode mode) override;
    bool remove(const std::string& path) override;
    bool rename(const std::string& from, const std::string& to) override;
    std::uint32_t invalid_name_error() const override { return inner_.invalid_name_error(); }

private:
    bool pass(bool result) {
        error_ = inner_.error();
        return result;
    }

    container::file_system& inner_;
    progress& meter_;
};

}  // namespace tools
