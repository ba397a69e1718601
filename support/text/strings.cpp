// Byte-exact text tests and ASCII upper-casing for narrow text.
#include "support/text/strings.hpp"

namespace replay {

bool has_switch(std::string_view switch_text, std::string_view text) {
    return text.find(switch_text) != std::string_view::npos;
}

// The "C" locale's upper-casing: only a to z change, so no locale is consulted.
std::string& make_upper(std::string& text) {
    for (char& c : text) {
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
    }
    return text;
}

std::string upper_copy(std::string_view text) {
    std::string copy(text);
    return make_upper(copy);
}

bool starts_with(std::string_view prefix, std::string_view text) {
    return prefix.size() <= text.size() && text.compare(0, prefix.size(), prefix) == 0;
}

bool ends_with(std::string_view suffix, std::string_view text) {
    return suffix.size() <= text.size() &&
           text.compare(text.size() - suffix.size(), suffix.size(), suffix) == 0;
}

}  // namespace replay
