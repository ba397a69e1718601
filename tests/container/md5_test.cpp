// The MD5 digest against RFC 1321's test suite and the padding boundaries, whole and in
// pieces.
#include "container/md5.hpp"
#include "tests/container/hex.hpp"

#include <gtest/gtest.h>

#include <random>

namespace {

using container::md5;
using container_test::to_hex;

struct known_digest {
    std::string message;
    const char* hex;
};

void PrintTo(const known_digest& c, std::ostream* out) { *out << c.message.size() << " bytes"; }

class md5_known_answers : public testing::TestWithParam<known_digest> {};

TEST_P(md5_known_answers, digest_of_whole_message) {
    EXPECT_EQ(to_hex(md5(GetParam().message).digest()), GetParam().hex);
}

TEST_P(md5_known_answers, digest_of_message_fed_byte_by_byte) {
    md5 hash;
    for (char byte : GetParam().message)
        hash.update(&byte, 1);
    EXPECT_EQ(to_hex(hash.digest()), GetParam().hex);
}

// RFC 1321, appendix A.5.
INSTANTIATE_TEST_SUITE_P(
    rfc1321, md5_known_answers,
    testing::Values(
        known_digest{"", "d41d8cd98f00b204e9800998ecf8427e"},
        known_digest{"a", "0cc175b9c0f1b6a831c399e269772661"},
        known_digest{"abc", "900150983cd24fb0d6963f7d28e17f72"},
        known_digest{"message digest", "f96b697d7cb7938d525a2f31aaf161d0"},
        known_digest{"abcdefghijklmnopqrstuvwxyz", "c3fcd3d76192e4007dfb496cca67e13b"},
        known_digest{"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789",
                     "d174ab98d277d9f5a5611c2c9f419d9f"},
        known_digest{"12345678901234567890123456789012345678901234567890123456789012345678901234567890",
                     "57edf4a22be3c955ac49da2e2107b67a"}));

// Messages of 'a' bytes on both sides of the padding limits: one padding block while the
// last block holds fewer than 56 bytes, two from 56 on. Digests as OpenSSL gives them.
INSTANTIATE_TEST_SUITE_P(
    padding_boundaries, md5_known_answers,
    testing::Values(known_digest{std::string(55, 'a'), "ef1772b6dff9a122358552954ad0df65"},
                    known_digest{std::string(56, 'a'), "3b0c8ac703f828b04c6c197006d17218"},
                    known_digest{std::string(63, 'a'), "b06521f39153d618550606be297466d5"},
                    known_digest{std::string(64, 'a'), "014842d480b571495a4a0363793f7367"},
                    known_digest{std::string(119, 'a'), "8a7bd0732ed6a28ce75f6dabc90e1613"},
                    known_digest{std::string(120, 'a'), "5f61c0ccad4cac44c75ff505e1f1e537"}));

std::string random_bytes(std::size_t count, unsigned seed) {
    std::mt19937 generator(seed);
    std::string bytes(count, '\0');
    for (char& byte : bytes)
        byte = static_cast<char>(generator());
    return bytes;
}

TEST(md5, pieces_of_odd_sizes_give_the_digest_of_the_whole) {
    const std::string data = random_bytes(100000, 7);
    const std::string whole = md5(data).digest();
    for (std::size_t piece : {1u, 3u, 63u, 65u, 127u, 4099u}) {
        md5 hash;
        for (std::size_t offset = 0; offset < data.size(); offset += piece)
            hash.update(data.data() + offset, std::min(piece, data.size() - offset));
        EXPECT_EQ(hash.digest(), whole) << "pieces of " << piece;
    }
}

TEST(md5, second_digest_call_returns_the_same_bytes_and_ignores_later_input) {
    md5 hash("abc");
    const std::string first = hash.digest();
    hash.update("more", 4);
    EXPECT_EQ(hash.digest(), first);
    EXPECT_EQ(to_hex(first), "900150983cd24fb0d6963f7d28e17f72");
}

TEST(md5, digest_is_sixteen_bytes_even_with_zero_bytes_in_it) {
    // The empty message's digest has no zero byte; this one has (found by search).
    std::string message;
    std::string digest;
    for (unsigned n = 0; digest.find('\0') == std::string::npos; ++n) {
        message = std::to_string(n);
        digest = md5(message).digest();
    }
    EXPECT_EQ(digest.size(), 16u);
    EXPECT_EQ(digest, md5(message).digest());
    EXPECT_NE(digest, md5(message + "x").digest());
}

TEST(md5, zero_bytes_in_the_message_are_hashed) {
    EXPECT_EQ(to_hex(md5(std::string(1, '\0')).digest()), "93b885adfe0da089cdf634904fd59f71");
    EXPECT_NE(md5(std::string(2, '\0')).digest(), md5(std::string(1, '\0')).digest());
}

}  // namespace
