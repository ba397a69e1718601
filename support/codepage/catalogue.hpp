// The code page catalogue: the process-wide alias and name tables of code page names,
// and the lookups from a name in any spelling to a code page number and back.
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>

namespace replay::codepage {

// Key form of a name (lower-case ASCII letters and digits only) to code page number.
using alias_map = std::map<std::string, std::int32_t>;
// Code page number to the code page's canonical name, with its own case and separators.
using name_map = std::map<std::int32_t, std::string>;

// The value that the alias table gives "ascii" and "usascii": plain 7-bit ASCII, which
// no row of the alias table ties to a Windows code page.
constexpr std::int32_t ascii_alias_value = -1;

// The code page that a lookup gives for the ASCII names: 20127, "us-ascii" in the name
// table, so that every number a lookup hands out is one the conversions accept.
constexpr std::int32_t us_ascii_codepage = 20127;

// The alias table: 104 keys, built before main and released after it. Never changes.
const alias_map& aliases();

// The name table: 140 entries, built before main (after the alias table) and released
// after it (before the alias table). Never changes.
const name_map& names();

// Reduces a name to the alias table's key form: ASCII letters lowered, ASCII digits
// kept, everything else (hyphens, underscores, blanks, dots, bytes 128 and up) dropped.
// "ISO_8859-8-i" gives "iso88598i"; a name without letters or digits gives "".
std::string key_form(std::string_view name);

// The code page a name stands for, in any spelling (case and separators do not
// matter), or nothing when the catalogue does not know the name. Tried in this order,
// the first match wins:
//   1. the alias table, by key form; the ASCII names (value -1) give us_ascii_codepage;
//   2. the canonical names of the name table, compared in key form, lowest number first;
//   3. a numbered stem followed by digits only, and only when the number it gives is in
//      the name table: "windows", "cp", "ibm" and "dos" followed by the number itself
//      ("cp1252" gives 1252), "iso8859" followed by the part number of ISO 8859 (28590
//      plus the part), "latin" and "csisolatin" followed by the Latin alphabet's number
//      (Latin 1 to 4 are ISO 8859 parts 1 to 4, Latin 5 part 9, Latin 7 part 13,
//      Latin 9 part 15).
std::optional<std::int32_t> find_codepage(std::string_view name);

// The canonical name of a code page, or null when the name table has no such number.
// The pointer stays valid for the whole process.
const std::string* find_name(std::int32_t codepage);

// The canonical name of a code page. Throws replay::unicode::invalid_codepage with the
// message "codepage <number> is not supported" when the name table has no such number
// (the ASCII marker -1 included). The reference stays valid for the whole process.
const std::string& canonical_name(std::int32_t codepage);

}  // namespace replay::codepage
