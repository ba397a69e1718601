// MD5 against the system's OpenSSL for every length from 0 to 300 bytes and for 1 MB of
// random data, whole and in pieces. OpenSSL is loaded at run time, so that nothing else
// in the build depends on it.
#include "container/md5.hpp"

#include <gtest/gtest.h>

#include <dlfcn.h>

#include <random>

namespace {

using openssl_md5_function = unsigned char* (*)(const unsigned char*, std::size_t, unsigned char*);

class md5_against_openssl : public testing::Test {
protected:
    void SetUp() override {
        library_ = ::dlopen("libcrypto.so.3", RTLD_NOW);
        ASSERT_NE(library_, nullptr) << "libcrypto.so.3 not found";
        openssl_md5_ = reinterpret_cast<openssl_md5_function>(::dlsym(library_, "MD5"));
        ASSERT_NE(openssl_md5_, nullptr);
    }
    void TearDown() override {
        if (library_)
            ::dlclose(library_);
    }

    std::string reference(const std::string& data) {
        unsigned char digest[16];
        openssl_md5_(reinterpret_cast<const unsigned char*>(data.data()), data.size(), digest);
        return std::string(reinterpret_cast<const char*>(digest), 16);
    }

    static std::string random_bytes(std::size_t count, unsigned seed) {
        std::mt19937 generator(seed);
        std::string bytes(count, '\0');
        for (char& byte : bytes)
            byte = static_cast<char>(generator());
        return bytes;
    }

    void* library_ = nullptr;
    openssl_md5_function openssl_md5_ = nullptr;
};

TEST_F(md5_against_openssl, every_length_from_0_to_300) {
    const std::string data = random_bytes(300, 1);
    for (std::size_t length = 0; length <= 300; ++length) {
        const std::string message = data.substr(0, length);
        EXPECT_EQ(container::md5(message).digest(), reference(message)) << length << " bytes";
    }
}

TEST_F(md5_against_openssl, one_megabyte_whole_and_in_odd_pieces) {
    const std::string data = random_bytes(1 << 20, 2);
    const std::string expected = reference(data);
    EXPECT_EQ(container::md5(data).digest(), expected);

    // Piece sizes cycle through odd values, so pieces start at every offset within a block.
    container::md5 hash;
    std::size_t piece = 1;
    for (std::size_t offset = 0; offset < data.size(); offset += piece, piece = piece * 3 % 997 + 2)
        hash.update(data.data() + offset, std::min(piece, data.size() - offset));
    EXPECT_EQ(hash.digest(), expected);
}

}  // namespace
