// The run's named texts and the expansion of %name% references.
#include "container/value_table.hpp"

#include <set>
#include <stdexcept>

namespace container {

bool value_table::add(const std::string& name, const std::string& value) {
    return entries_.emplace(name, value).second;
}

std::string& value_table::operator[](const std::string& name) { return entries_[name]; }

const std::string* value_table::find(const std::string& name) const {
    const auto entry = entries_.find(name);
    return entry == entries_.end() ? nullptr : &entry->second;
}

namespace {

// `active` holds the names whose values are being expanded further up the recursion.
std::string expand(const std::string& text, const value_table& values, std::set<std::string>& active) {
    std::string result = text;
    std::size_t p = result.find('%');
    while (p != std::string::npos) {
        // A run of '%' is passed over; its last '%' opens the reference.
        const std::size_t start = result.find_first_not_of('%', p);
        if (start == std::string::npos)
            break;
        const std::size_t end = result.find('%', start);
        if (end == std::string::npos)
            break;
        const std::string name = result.substr(start, end - start);
        const std::string* value = values.find(name);
        if (value == nullptr || active.count(name) != 0 || active.size() >= max_expansion_depth) {
            // The closing '%' of a rejected name may open the next one.
            p = end;
            continue;
        }
        active.insert(name);
        const std::string inserted = expand(*value, values, active);
        active.erase(name);
        if (result.size() - (end - start + 2) + inserted.size() > max_expanded_length)
            throw std::length_error("expand_values: the expanded text exceeds 16 MiB");
        result.replace(start - 1, end - start + 2, inserted);
        // Inserted text is already expanded and is not scanned again.
        p = result.find('%', start - 1 + inserted.size());
    }
    return result;
}

}  // namespace

std::string expand_values(const std::string& text, const value_table& values) {
    std::set<std::string> active;
    return expand(text, values, active);
}

}  // namespace container
