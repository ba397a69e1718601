// Log levels and the one-character marks that a log entry's stamp shows for them.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

namespace replay::log {

// Levels are plain signed numbers; 0 to 5 are defined, each with its own mark.
constexpr std::int32_t lowest_level = 0;
constexpr std::int32_t highest_level = 5;

// An entry at this level describes the exception that its caller is handling.
constexpr std::int32_t exception_level = 5;

// The marks of levels 0 to 5, indexed by level: 1 is a blank, 5 (exceptions) is "@".
constexpr std::array<char, 6> level_marks{'#', ' ', '+', '!', '>', '@'};

// The mark of a level. Other levels than 0 to 5 have no mark: they throw
// std::out_of_range rather than read past the table.
constexpr char level_mark(std::int32_t level) {
    return level_marks.at(static_cast<std::size_t>(level));
}

}  // namespace replay::log
