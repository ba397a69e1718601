// Byte-exact text tests and ASCII upper-casing for narrow text.
#pragma once

#include <string>
#include <string_view>

namespace replay {

// True when `text` contains `switch_text` anywhere: no word boundaries, no case folding.
// An empty switch text is always found.
bool has_switch(std::string_view switch_text, std::string_view text);

// Upper-cases a to z in place; every other byte, 128 and up included, stays. Returns `text`.
std::string& make_upper(std::string& text);

// A new upper-cased copy of the same length, so positions in it are positions in `text`.
std::string upper_copy(std::string_view text);

// Byte-exact prefix and suffix tests; an empty prefix or suffix always matches.
bool starts_with(std::string_view prefix, std::string_view text);
bool ends_with(std::string_view suffix, std::string_view text);

}  // namespace replay
