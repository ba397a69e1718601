// The registry layer's error family: catch replay::registry2::generic to catch them all.
#pragma once

#include "support/exceptions/exception.hpp"

#include <string>

namespace replay::registry2 {

// The family root, kind "registry2"; never thrown by itself.
class generic : public exception {
public:
    explicit generic(const std::string& message);
};

// A key could not be opened; kind "registry2.key_error".
class key_error final : public generic {
public:
    explicit key_error(const std::string& message);
};

// A value is missing or could not be read or written; kind "registry2.value_error".
class value_error final : public generic {
public:
    explicit value_error(const std::string& message);
};

// A value holds another type than the one asked for; kind "registry2.type_mismatch".
class type_mismatch final : public generic {
public:
    explicit type_mismatch(const std::string& message);
};

// A value's size changed between asking for it and reading it; kind "registry2.size_mismatch".
class size_mismatch final : public generic {
public:
    explicit size_mismatch(const std::string& message);
};

}  // namespace replay::registry2
