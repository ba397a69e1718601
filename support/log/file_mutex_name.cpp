// The name of the system mutex that every writer of one log file shares.
#include "support/log/file_mutex_name.hpp"

#include "support/text/format.hpp"
#include "support/text/strings.hpp"

#include <cstdint>

namespace replay::log {
namespace {

std::uint64_t fnv1a_64(const std::string& text) {
    std::uint64_t hash = 0xcbf29ce484222325ull;
    for (unsigned char c : text) {
        hash ^= c;
        hash *= 0x100000001b3ull;
    }
    return hash;
}

}  // namespace

std::string log_mutex_name(const std::string& full_base_path) {
    std::string name = "log-" + upper_copy(full_base_path);
    for (char& c : name) {
        if (c == '\\')
            c = '/';
    }
    if (name.size() <= max_log_mutex_name_length)
        return name;
    return format_text("log-%016llx", static_cast<unsigned long long>(fnv1a_64(name)));
}

}  // namespace replay::log
