// The run's named texts: stored values, stored file names and the run's own values,
// with %name% references expanded recursively.
#pragma once

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

// A copy of `text` with every %name% whose name is in `values` replaced by that name's
// value, itself expanded first. A reference to an absent name stays as it is. A name
// met again while its own value is being expanded stays unexpanded there, so a value
// that refers to itself, directly or through others, expands to a finite text.
std::string expand_values(const std::string& text, const value_table& values);

}  // namespace container
