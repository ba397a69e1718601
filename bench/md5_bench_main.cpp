// MD5 throughput of container::md5 against OpenSSL's EVP MD5 on the same buffer, best of
// several repetitions each, printed as a ratio. The two digests must agree, or the figures
// would compare unequal work.
#include "container/md5.hpp"

#include <openssl/evp.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <memory>
#include <string>
#include <vector>

namespace {

using steady = std::chrono::steady_clock;

constexpr double target_ratio = 0.9;

// Pseudo-random bytes from a fixed seed: the speed of MD5 does not depend on them, but
// a buffer of one repeated byte could hide a fault in comparing the digests.
std::vector<unsigned char> make_buffer(std::size_t size) {
    std::vector<unsigned char> buffer(size);
    std::uint64_t state = 0x9e3779b97f4a7c15ull;
    for (unsigned char& byte : buffer) {
        state ^= state << 13;
        state ^= state >> 7;
        state ^= state << 17;
        byte = static_cast<unsigned char>(state >> 24);
    }
    return buffer;
}

std::string hash_ours(const std::vector<unsigned char>& buffer) {
    container::md5 hash;
    hash.update(buffer.data(), buffer.size());
    return hash.digest();
}

struct evp_context_free {
    void operator()(EVP_MD_CTX* context) const { EVP_MD_CTX_free(context); }
};

// OpenSSL's EVP interface as applications normally use it: one context, reused.
class openssl_md5 {
public:
    openssl_md5() : context_(EVP_MD_CTX_new()) {}

    // The digest of `buffer`, or an empty text when OpenSSL refused a step.
    std::string operator()(const std::vector<unsigned char>& buffer) {
        unsigned char digest[EVP_MAX_MD_SIZE];
        unsigned int size = 0;
        if (!context_ || EVP_DigestInit_ex(context_.get(), EVP_md5(), nullptr) != 1 ||
            EVP_DigestUpdate(context_.get(), buffer.data(), buffer.size()) != 1 ||
            EVP_DigestFinal_ex(context_.get(), digest, &size) != 1)
            return {};
        return std::string(reinterpret_cast<const char*>(digest), size);
    }

private:
    std::unique_ptr<EVP_MD_CTX, evp_context_free> context_;
};

// The best times of one side over the repetitions: wall clock, and processor time, which
// hardly grows when other programs share the machine (the program has one thread).
struct best_times {
    double wall = 1e30;
    double processor = 1e30;
};

// Times one call of `hash`, keeps the better times in `best`, and returns the digest.
template <typename Hash>
std::string timed(Hash& hash, const std::vector<unsigned char>& buffer, best_times& best) {
    const std::clock_t processor_start = std::clock();
    const steady::time_point start = steady::now();
    std::string digest = hash(buffer);
    const double wall = std::chrono::duration<double>(steady::now() - start).count();
    const double processor = double(std::clock() - processor_start) / CLOCKS_PER_SEC;
    best.wall = std::min(best.wall, wall);
    best.processor = std::min(best.processor, processor);
    return digest;
}

std::size_t argument(int argc, char** argv, int index, std::size_t fallback) {
    return argc > index ? std::strtoul(argv[index], nullptr, 10) : fallback;
}

}  // namespace

// usage: md5_bench [MIB [REPETITIONS]]   (defaults: 256 MiB, best of 7)
int main(int argc, char** argv) {
    const std::size_t mebibytes = std::max<std::size_t>(1, argument(argc, argv, 1, 256));
    const int repetitions = static_cast<int>(std::max<std::size_t>(1, argument(argc, argv, 2, 7)));
    const std::vector<unsigned char> buffer = make_buffer(mebibytes << 20);

    auto ours = hash_ours;
    openssl_md5 theirs;
    best_times our_best, their_best;
    // Alternating the two spreads any disturbance from the machine over both sides.
    for (int round = 0; round < repetitions; ++round) {
        const std::string our_digest = timed(ours, buffer, our_best);
        const std::string their_digest = timed(theirs, buffer, their_best);
        if (our_digest.empty() || our_digest != their_digest) {
            std::fprintf(stderr, "md5_bench: the digests differ; no figures\n");
            return 1;
        }
    }

    const double ratio = their_best.wall / our_best.wall;
    const double processor_ratio = their_best.processor / our_best.processor;
    std::printf("MD5 of %zu MiB, best of %d (wall clock; processor time in brackets)\n", mebibytes, repetitions);
    std::printf("  container::md5   %8.1f MiB/s (%8.1f MiB/s)\n", mebibytes / our_best.wall,
                mebibytes / our_best.processor);
    std::printf("  OpenSSL EVP MD5  %8.1f MiB/s (%8.1f MiB/s)\n", mebibytes / their_best.wall,
                mebibytes / their_best.processor);
    std::printf("  ratio            %8.3f (%8.3f)     target >= %.2f\n", ratio, processor_ratio, target_ratio);
    std::printf("summary\tMD5 throughput, ours / OpenSSL\t%.3f\t>= %.2f\t%s\n", ratio, target_ratio,
                ratio >= target_ratio ? "met" : "MISSED");
    return 0;
}
