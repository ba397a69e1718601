// MD5 as RFC 1321 defines it: 64-byte blocks of sixteen little-endian words, four rounds
// of sixteen steps each, padding with 0x80, zeros and the 64-bit bit count.
#include "container/md5.hpp"

#include <algorithm>
#include <cstring>

namespace container {

namespace {

constexpr std::size_t block_size = 64;

std::uint32_t load_le32(const unsigned char* p) {
    return std::uint32_t(p[0]) | std::uint32_t(p[1]) << 8 | std::uint32_t(p[2]) << 16 | std::uint32_t(p[3]) << 24;
}

constexpr std::uint32_t rotate_left(std::uint32_t x, int s) { return (x << s) | (x >> (32 - s)); }

// The round functions in the forms that need the fewest operations; each equals the
// RFC's definition bit for bit (G selects like F with the roles of b and d swapped).
constexpr std::uint32_t f(std::uint32_t b, std::uint32_t c, std::uint32_t d) { return d ^ (b & (c ^ d)); }
constexpr std::uint32_t g(std::uint32_t b, std::uint32_t c, std::uint32_t d) { return c ^ (d & (b ^ c)); }
constexpr std::uint32_t h(std::uint32_t b, std::uint32_t c, std::uint32_t d) { return b ^ c ^ d; }
constexpr std::uint32_t i(std::uint32_t b, std::uint32_t c, std::uint32_t d) { return c ^ (b | ~d); }

template <std::uint32_t (*round)(std::uint32_t, std::uint32_t, std::uint32_t)>
inline void step(std::uint32_t& a, std::uint32_t b, std::uint32_t c, std::uint32_t d, std::uint32_t x, int s,
                 std::uint32_t t) {
    a = b + rotate_left(a + round(b, c, d) + x + t, s);
}

void compress(std::uint32_t state[4], const unsigned char* block) {
    std::uint32_t x[16];
    for (int k = 0; k < 16; ++k)
        x[k] = load_le32(block + 4 * k);
    std::uint32_t a = state[0], b = state[1], c = state[2], d = state[3];

    step<f>(a, b, c, d, x[0], 7, 0xd76aa478);
    step<f>(d, a, b, c, x[1], 12, 0xe8c7b756);
    step<f>(c, d, a, b, x[2], 17, 0x242070db);
    step<f>(b, c, d, a, x[3], 22, 0xc1bdceee);
    step<f>(a, b, c, d, x[4], 7, 0xf57c0faf);
    step<f>(d, a, b, c, x[5], 12, 0x4787c62a);
    step<f>(c, d, a, b, x[6], 17, 0xa8304613);
    step<f>(b, c, d, a, x[7], 22, 0xfd469501);
    step<f>(a, b, c, d, x[8], 7, 0x698098d8);
    step<f>(d, a, b, c, x[9], 12, 0x8b44f7af);
    step<f>(c, d, a, b, x[10], 17, 0xffff5bb1);
    step<f>(b, c, d, a, x[11], 22, 0x895cd7be);
    step<f>(a, b, c, d, x[12], 7, 0x6b901122);
    step<f>(d, a, b, c, x[13], 12, 0xfd987193);
    step<f>(c, d, a, b, x[14], 17, 0xa679438e);
    step<f>(b, c, d, a, x[15], 22, 0x49b40821);

    step<g>(a, b, c, d, x[1], 5, 0xf61e2562);
    step<g>(d, a, b, c, x[6], 9, 0xc040b340);
    step<g>(c, d, a, b, x[11], 14, 0x265e5a51);
    step<g>(b, c, d, a, x[0], 20, 0xe9b6c7aa);
    step<g>(a, b, c, d, x[5], 5, 0xd62f105d);
    step<g>(d, a, b, c, x[10], 9, 0x02441453);
    step<g>(c, d, a, b, x[15], 14, 0xd8a1e681);
    step<g>(b, c, d, a, x[4], 20, 0xe7d3fbc8);
    step<g>(a, b, c, d, x[9], 5, 0x21e1cde6);
    step<g>(d, a, b, c, x[14], 9, 0xc33707d6);
    step<g>(c, d, a, b, x[3], 14, 0xf4d50d87);
    step<g>(b, c, d, a, x[8], 20, 0x455a14ed);
    step<g>(a, b, c, d, x[13], 5, 0xa9e3e905);
    step<g>(d, a, b, c, x[2], 9, 0xfcefa3f8);
    step<g>(c, d, a, b, x[7], 14, 0x676f02d9);
    step<g>(b, c, d, a, x[12], 20, 0x8d2a4c8a);

    step<h>(a, b, c, d, x[5], 4, 0xfffa3942);
    step<h>(d, a, b, c, x[8], 11, 0x8771f681);
    step<h>(c, d, a, b, x[11], 16, 0x6d9d6122);
    step<h>(b, c, d, a, x[14], 23, 0xfde5380c);
    step<h>(a, b, c, d, x[1], 4, 0xa4beea44);
    step<h>(d, a, b, c, x[4], 11, 0x4bdecfa9);
    step<h>(c, d, a, b, x[7], 16, 0xf6bb4b60);
    step<h>(b, c, d, a, x[10], 23, 0xbebfbc70);
    step<h>(a, b, c, d, x[13], 4, 0x289b7ec6);
    step<h>(d, a, b, c, x[0], 11, 0xeaa127fa);
    step<h>(c, d, a, b, x[3], 16, 0xd4ef3085);
    step<h>(b, c, d, a, x[6], 23, 0x04881d05);
    step<h>(a, b, c, d, x[9], 4, 0xd9d4d039);
    step<h>(d, a, b, c, x[12], 11, 0xe6db99e5);
    step<h>(c, d, a, b, x[15], 16, 0x1fa27cf8);
    step<h>(b, c, d, a, x[2], 23, 0xc4ac5665);

    step<i>(a, b, c, d, x[0], 6, 0xf4292244);
    step<i>(d, a, b, c, x[7], 10, 0x432aff97);
    step<i>(c, d, a, b, x[14], 15, 0xab9423a7);
    step<i>(b, c, d, a, x[5], 21, 0xfc93a039);
    step<i>(a, b, c, d, x[12], 6, 0x655b59c3);
    step<i>(d, a, b, c, x[3], 10, 0x8f0ccc92);
    step<i>(c, d, a, b, x[10], 15, 0xffeff47d);
    step<i>(b, c, d, a, x[1], 21, 0x85845dd1);
    step<i>(a, b, c, d, x[8], 6, 0x6fa87e4f);
    step<i>(d, a, b, c, x[15], 10, 0xfe2ce6e0);
    step<i>(c, d, a, b, x[6], 15, 0xa3014314);
    step<i>(b, c, d, a, x[13], 21, 0x4e0811a1);
    step<i>(a, b, c, d, x[4], 6, 0xf7537e82);
    step<i>(d, a, b, c, x[11], 10, 0xbd3af235);
    step<i>(c, d, a, b, x[2], 15, 0x2ad7d2bb);
    step<i>(b, c, d, a, x[9], 21, 0xeb86d391);

    state[0] += a;
    state[1] += b;
    state[2] += c;
    state[3] += d;
}

}  // namespace

md5::md5(std::string_view text) : state_{0x67452301, 0xefcdab89, 0x98badcfe, 0x10325476} {
    update(text.data(), text.size());
}

void md5::update(const void* bytes, std::size_t count) {
    if (finished_)
        return;
    auto input = static_cast<const unsigned char*>(bytes);
    bit_count_ += std::uint64_t(count) * 8;

    if (pending_size_ != 0) {
        const std::size_t taken = std::min(block_size - pending_size_, count);
        std::memcpy(pending_.data() + pending_size_, input, taken);
        pending_size_ += taken;
        input += taken;
        count -= taken;
        if (pending_size_ < block_size)
            return;
        compress(state_, pending_.data());
        pending_size_ = 0;
    }
    // Whole blocks are compressed straight from the caller's bytes.
    for (; count >= block_size; input += block_size, count -= block_size)
        compress(state_, input);
    // An empty piece may come with a null pointer, which memcpy must not be given.
    if (count != 0)
        std::memcpy(pending_.data(), input, count);
    pending_size_ = count;
}

void md5::finish() {
    // The padding is 0x80, zeros up to 8 bytes short of a block end, then the message's
    // bit count, least significant byte first: one extra block, or two when fewer than
    // 9 bytes of the last block are free.
    unsigned char tail[2 * block_size] = {};
    const std::uint64_t bits = bit_count_;
    const std::size_t used = static_cast<std::size_t>((bits / 8) % block_size);
    const std::size_t length = used < 56 ? block_size : 2 * block_size;
    std::memcpy(tail, pending_.data(), pending_size_);
    tail[used] = 0x80;
    for (int k = 0; k < 8; ++k)
        tail[length - 8 + k] = static_cast<unsigned char>(bits >> (8 * k));
    for (std::size_t offset = 0; offset < length; offset += block_size)
        compress(state_, tail + offset);
    pending_size_ = 0;
    finished_ = true;
}

std::string md5::digest() {
    if (!finished_)
        finish();
    std::string result(16, '\0');
    for (int word = 0; word < 4; ++word)
        for (int k = 0; k < 4; ++k)
            result[4 * word + k] = static_cast<char>(state_[word] >> (8 * k));
    return result;
}

}  // namespace container
