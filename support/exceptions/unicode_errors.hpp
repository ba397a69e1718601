// The text conversion's error family: catch replay::unicode::generic to catch them all.
// The conversions throw them with an empty message: the class is the whole report.
#pragma once

#include "support/exceptions/exception.hpp"

#include <string>

namespace replay::unicode {

// The family root, kind "unicode"; also thrown for a failure of no particular kind.
class generic : public exception {
public:
    explicit generic(const std::string& message);
};

// The output did not fit; kind "unicode.out_of_memory".
class out_of_memory final : public generic {
public:
    explicit out_of_memory(const std::string& message);
};

// The code page is not supported; kind "unicode.invalid_codepage".
class invalid_codepage final : public generic {
public:
    explicit invalid_codepage(const std::string& message);
};

// A character has no form in the target encoding, or the input is malformed;
// kind "unicode.unmappable_character".
class unmappable_character final : public generic {
public:
    explicit unmappable_character(const std::string& message);
};

}  // namespace replay::unicode
