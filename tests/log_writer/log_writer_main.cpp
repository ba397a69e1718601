// log_writer BASE MAX_SIZE COPIES WRITER COUNT: logs COUNT lines "writer WRITER line N"
// (N from 0) at level 2 through a dispatcher into the log file sink of BASE. Exit code 0
// when every line was handed over, 1 on a failure, 2 on wrong arguments.
#include "support/log/dispatcher.hpp"
#include "support/log/file.hpp"

#include <cstdio>
#include <cstdlib>
#include <exception>
#include <memory>
#include <string>

int main(int argc, char** argv) {
    if (argc != 6) {
        std::fputs("usage: log_writer BASE MAX_SIZE COPIES WRITER COUNT\n", stderr);
        return 2;
    }
    try {
        const auto max_size = static_cast<std::uint32_t>(std::stoul(argv[2]));
        const auto copies = static_cast<std::uint32_t>(std::stoul(argv[3]));
        const std::wstring writer = std::to_wstring(std::stoi(argv[4]));
        const int count = std::stoi(argv[5]);

        replay::log::dispatcher dispatcher;
        dispatcher.add(0, std::make_unique<replay::log::file>(argv[1], max_size, copies));
        for (int n = 0; n < count; ++n)
            dispatcher.log(2, L"writer " + writer + L" line " + std::to_wstring(n));
        return 0;
    } catch (const std::exception& error) {
        std::fprintf(stderr, "log_writer: %s\n", error.what());
        return 1;
    }
}
