// The text conversion's error family.
#include "support/exceptions/unicode_errors.hpp"

namespace replay::unicode {

generic::generic(const std::string& message) : exception(message) { append_kind("unicode"); }

out_of_memory::out_of_memory(const std::string& message) : generic(message) { append_kind("out_of_memory"); }

invalid_codepage::invalid_codepage(const std::string& message) : generic(message) {
    append_kind("invalid_codepage");
}

unmappable_character::unmappable_character(const std::string& message) : generic(message) {
    append_kind("unmappable_character");
}

}  // namespace replay::unicode
