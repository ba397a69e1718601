// Configuration start-up: the brand and product names from the program's string table
// into config::brand (configuration/brand.hpp), then the product's paths
// (configuration/paths.hpp) and, for a null module handle, crash dumps.
#pragma once

#include "configuration/brand.hpp"
#include "configuration/paths.hpp"
#include "support/win/windows.hpp"

#include <string>

namespace config {

// String-table entries of the brand name and the product name.
constexpr int brand_string_id = 2001;
constexpr int product_string_id = 2002;

// The string-table entry `id` of `module` (null: the program file), at most its first 259
// characters. Throws replay::exception "resource string <id> is not found" when the entry
// is missing or empty.
std::wstring load_string(HINSTANCE module, int id);

// Fills config::brand from entries 2001 and 2002 of `module`, then calls init(module).
// Throws what load_string and init throw; the brand record keeps what was read before.
void startup(HINSTANCE module);

// Fills the six path values for the program file of `module` (null: the process's own).
// With a null module it also creates the dumps directory (config::dumps_directory(), with
// its missing parents) and installs the crash handler with the prefix "<dumps>\<program
// file name>" in the ANSI code page, registering its removal at process exit once per
// process. Throws replay::exception_w when the module path or the machine-wide
// application-data folder cannot be had (a missing per-user folder falls back to the
// machine-wide one), boost::filesystem::filesystem_error when the dumps directory cannot
// be made, replay::unicode::unmappable_character when the prefix has no ANSI form.
void init(HINSTANCE module);

}  // namespace config
