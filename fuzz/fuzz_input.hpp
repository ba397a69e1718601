// Splits a fuzzer's bytes into the pieces a target needs.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace fuzzing {

class input {
public:
    input(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}

    bool empty() const { return size_ == 0; }

    // The next text: a length byte, then up to that many bytes.
    std::string text() {
        const std::size_t length = size_ == 0 ? 0 : take_byte();
        return bytes(length);
    }

    // Everything that is left.
    std::string rest() { return bytes(size_); }

    std::uint8_t take_byte() {
        if (size_ == 0)
            return 0;
        --size_;
        return *data_++;
    }

private:
    std::string bytes(std::size_t wanted) {
        const std::size_t count = wanted < size_ ? wanted : size_;
        std::string result(reinterpret_cast<const char*>(data_), count);
        data_ += count;
        size_ -= count;
        return result;
    }

    const std::uint8_t* data_;
    std::size_t size_;
};

}  // namespace fuzzing
