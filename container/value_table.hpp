// The run's named texts: stored values, stored file names and the run's own values,
// with %name% references expanded recursively.
#pragma once

#include <cstddef>
#include <map>
#include <string>

namespace container {

class value_table {
public:
    // Adds name -> value only when the name is absent; an existing entry keeps its value.
    bool add(const std::string& name, const std::string& value);

    // The entry's text, created empty first when the name is absent.
    std::string& operator[](const std::string& name);

    // The entry's text, or null; never creates an entry.
    const std::string* find(const std::string& name) const;

private:
    // std::string compares bytes as unsigned characters, shorter first on a common prefix.
    std::map<std::string, std::string> entries_;
};

// References nested deeper than this stay unexpanded: a container can chain any number of
// values, and each level of nesting takes stack.
inline constexpr std::size_t max_expansion_depth = 64;

// No expanded text may grow beyond this: a few values that each repeat the next one many
// times would otherwise multiply into more memory than the machine has.
inline constexpr std::size_t max_expanded_length = std::size_t{16} << 20;

// A copy of `text` with every %name% whose name is in `values` replaced by that name's
// value, itself expanded first. A reference to an absent name stays as it is. A name
// met again while its own value is being expanded stays unexpanded there, so a value
// that refers to itself, directly or through others, expands to a finite text; so do
// references nested deeper than max_expansion_depth. Throws std::length_error when the
// result would exceed max_expanded_length.
std::string expand_values(const std::string& text, const value_table& values);

}  // namespace container
