// The MD5 message digest (RFC 1321) that every container record carries for its data.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace container {

// One MD5 computation. Construct it from the bytes to hash (their length, not a
// terminator, counts), add more with update(), then take digest(). Streaming callers
// construct it from an empty text and feed the data in pieces of any size; the digest
// does not depend on how the bytes were split.
class md5 {
public:
    explicit md5(std::string_view text = {});

    // Takes in `count` more bytes. Bytes given after digest() are never hashed.
    void update(const void* bytes, std::size_t count);

    // Finishes the computation on the first call and returns the 16 digest bytes as
    // RFC 1321 outputs them (A, B, C, D, each least significant byte first). Later calls
    // return the same 16 bytes. Zero bytes are ordinary bytes of the result.
    std::string digest();

private:
    void finish();

    std::uint32_t state_[4];
    std::uint64_t bit_count_ = 0;  // message bits taken in so far, modulo 2^64
    std::array<unsigned char, 64> pending_{};  // bytes that do not yet fill a block
    std::size_t pending_size_ = 0;
    bool finished_ = false;
};

}  // namespace container
