// Time of the reader's backward search for the tail record (container::find_tail) in an
// installer followed by trailing bytes, against the same installer without them.
#include "container/file_system.hpp"
#include "container/record_reader.hpp"

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>

namespace {

using steady = std::chrono::steady_clock;

constexpr double target_milliseconds = 20.0;

struct search_time {
    bool found = false;
    std::uint64_t offset = 0;
    double best_milliseconds = 1e30;
};

// Opens `path` once, as the reader does, and times `repetitions` searches of it.
search_time time_search(const std::string& path, int repetitions) {
    search_time result;
    const std::unique_ptr<container::file> source = container::native_file_system().open_read(path);
    std::uint64_t size = 0;
    if (!source || !source->size(size))
        return result;
    for (int round = 0; round < repetitions; ++round) {
        const steady::time_point start = steady::now();
        result.found = container::find_tail(*source, size, result.offset);
        const double elapsed = std::chrono::duration<double, std::milli>(steady::now() - start).count();
        if (!result.found)
            return result;
        result.best_milliseconds = std::min(result.best_milliseconds, elapsed);
    }
    return result;
}

}  // namespace

// usage: tail_search_bench PLAIN_INSTALLER TRAILED_INSTALLER [REPETITIONS]
// TRAILED_INSTALLER is PLAIN_INSTALLER with bytes appended; both must find the same tail.
int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: tail_search_bench PLAIN_INSTALLER TRAILED_INSTALLER [REPETITIONS]\n");
        return 2;
    }
    const int repetitions = argc > 3 ? std::max(1, std::atoi(argv[3])) : 20;
    const search_time plain = time_search(argv[1], repetitions);
    const search_time trailed = time_search(argv[2], repetitions);
    if (!plain.found || !trailed.found || plain.offset != trailed.offset) {
        std::fprintf(stderr, "tail_search_bench: the tail record was not found at the same offset in both\n");
        return 1;
    }

    std::printf("find_tail, best of %d (tail record at offset %llu)\n", repetitions,
                static_cast<unsigned long long>(plain.offset));
    std::printf("  without trailing bytes  %8.3f ms\n", plain.best_milliseconds);
    std::printf("  with trailing bytes     %8.3f ms (target < %.0f ms)\n", trailed.best_milliseconds,
                target_milliseconds);
    std::printf("  ratio                   %8.1f\n", trailed.best_milliseconds / plain.best_milliseconds);
    std::printf("summary\tfind_tail behind trailing bytes, ms (ratio to none: %.1f)\t%.3f\t< %.0f\t%s\n",
                trailed.best_milliseconds / plain.best_milliseconds, trailed.best_milliseconds,
                target_milliseconds, trailed.best_milliseconds < target_milliseconds ? "met" : "MISSED");
    return 0;
}
