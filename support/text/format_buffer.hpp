// The growing buffer behind the formatting functions: start with room for 1024
// characters and double the room until the formatted text fits.
#pragma once

#include <cerrno>
#include <cstddef>
#include <new>
#include <stdexcept>
#include <string>
#include <vector>

namespace replay {

// The formatter failed for a reason other than room, e.g. an encoding error.
class format_failure : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

namespace detail {

constexpr std::size_t initial_format_capacity = 1024;

// When the formatter only says "did not fit" (wide formatting does not tell the size it
// needs), doubling stops here; a text this long is no message.
constexpr std::size_t max_unsized_format_capacity = std::size_t{1} << 24;

// format_once(buffer, size) formats into `size` characters (room for `size - 1` plus a
// terminator) and returns the formatter's count: the characters the whole text needs,
// or a negative number when it did not fit or failed (errno EILSEQ tells a failure).
// Returns the first `count` characters once the text fits in the room.
template <typename Char, typename FormatOnce>
std::basic_string<Char> grow_format(FormatOnce format_once) {
    std::size_t capacity = initial_format_capacity;
    std::vector<Char> buffer;
    for (;;) {
        buffer.assign(capacity + 1, Char{});
        errno = 0;
        const int count = format_once(buffer.data(), buffer.size());
        if (count >= 0 && static_cast<std::size_t>(count) <= capacity)
            return std::basic_string<Char>(buffer.data(), static_cast<std::size_t>(count));
        if (count >= 0) {
            while (capacity < static_cast<std::size_t>(count))
                capacity *= 2;
            continue;
        }
        if (errno == EILSEQ)
            throw format_failure("formatting failed: an argument cannot be encoded (EILSEQ)");
        if (capacity >= max_unsized_format_capacity)
            throw format_failure("formatting failed: the formatter gave no count and the text would exceed 16777216 characters");
        capacity *= 2;
    }
}

}  // namespace detail
}  // namespace replay
