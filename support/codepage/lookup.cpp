// Lookups over the code page catalogue: a name in any spelling to its code page number,
// and a number to its canonical name.
#include "support/codepage/catalogue.hpp"

#include "support/exceptions/unicode_errors.hpp"
#include "support/text/format.hpp"

#include <array>
#include <utility>

namespace replay::codepage {
namespace {

constexpr bool is_digit(char c) { return c >= '0' && c <= '9'; }

// The number spelled by `digits` when it is one or more decimal digits, else nothing.
// Long runs are refused before they can overflow; no code page has more than 5 digits.
std::optional<std::int32_t> parse_number(std::string_view digits) {
    if (digits.empty() || digits.size() > 9)
        return std::nullopt;
    std::int32_t value = 0;
    for (char c : digits) {
        if (!is_digit(c))
            return std::nullopt;
        value = value * 10 + (c - '0');
    }
    return value;
}

std::optional<std::int32_t> known(std::optional<std::int32_t> codepage) {
    if (codepage && names().count(*codepage) != 0)
        return codepage;
    return std::nullopt;
}

// ISO 8859 part number of the Latin alphabets that have a code page of their own.
std::optional<std::int32_t> iso8859_part_of_latin(std::int32_t latin) {
    static constexpr std::array<std::pair<std::int32_t, std::int32_t>, 7> parts{
        {{1, 1}, {2, 2}, {3, 3}, {4, 4}, {5, 9}, {7, 13}, {9, 15}}};
    for (const auto& [alphabet, part] : parts) {
        if (alphabet == latin)
            return part;
    }
    return std::nullopt;
}

constexpr std::int32_t iso8859_codepage_base = 28590;

// Stems that name a code page by its own number.
constexpr std::array<std::string_view, 4> number_stems{"windows", "cp", "ibm", "dos"};
// Stems followed by a Latin alphabet's number.
constexpr std::array<std::string_view, 2> latin_stems{"csisolatin", "latin"};
constexpr std::string_view iso8859_stem = "iso8859";

std::optional<std::int32_t> number_after(std::string_view stem, std::string_view key) {
    if (key.substr(0, stem.size()) != stem)
        return std::nullopt;
    return parse_number(key.substr(stem.size()));
}

std::optional<std::int32_t> from_stems(std::string_view key) {
    for (std::string_view stem : number_stems) {
        if (auto number = number_after(stem, key))
            return known(number);
    }
    if (auto part = number_after(iso8859_stem, key))
        return known(iso8859_codepage_base + *part);
    for (std::string_view stem : latin_stems) {
        if (auto latin = number_after(stem, key)) {
            if (auto part = iso8859_part_of_latin(*latin))
                return known(iso8859_codepage_base + *part);
            return std::nullopt;
        }
    }
    return std::nullopt;
}

std::optional<std::int32_t> from_canonical_names(std::string_view key) {
    for (const auto& [codepage, name] : names()) {
        if (key_form(name) == key)
            return codepage;
    }
    return std::nullopt;
}

}  // namespace

std::string key_form(std::string_view name) {
    std::string key;
    key.reserve(name.size());
    for (char c : name) {
        if (c >= 'A' && c <= 'Z')
            key += static_cast<char>(c - 'A' + 'a');
        else if ((c >= 'a' && c <= 'z') || is_digit(c))
            key += c;
    }
    return key;
}

std::optional<std::int32_t> find_codepage(std::string_view name) {
    const std::string key = key_form(name);
    if (key.empty())
        return std::nullopt;
    const auto alias = aliases().find(key);
    if (alias != aliases().end())
        return alias->second == ascii_alias_value ? us_ascii_codepage : alias->second;
    if (auto codepage = from_canonical_names(key))
        return codepage;
    return from_stems(key);
}

const std::string* find_name(std::int32_t codepage) {
    const auto entry = names().find(codepage);
    return entry == names().end() ? nullptr : &entry->second;
}

const std::string& canonical_name(std::int32_t codepage) {
    if (const std::string* name = find_name(codepage))
        return *name;
    throw unicode::invalid_codepage(format_text("codepage %d is not supported", codepage));
}

}  // namespace replay::codepage
