// The product's paths: where the program file lies and the machine-wide and per-user
// application-data directories of the product. Wide text, backslash-separated.
#pragma once

#include "configuration/records.hpp"

#include <string>

namespace config {

// Process-wide values, empty until config::init has filled them (configuration/startup.hpp);
// written during start-up on the main thread and only read afterwards.
extern std::wstring module_directory;          // the program file's path up to and with its last backslash
extern std::wstring module_file_name;          // the program file's path after its last backslash
extern std::wstring common_data_root;          // machine-wide application-data folder and a backslash
extern std::wstring common_product_directory;  // common_data_root, brand, "\", product name, "\"
extern std::wstring user_data_root;            // per-user application-data folder and a backslash
extern std::wstring user_product_directory;    // user_data_root, brand, "\", product name, "\"

// A module path cut after its last backslash: the directory keeps that backslash; with
// no backslash the directory is empty and the file name is the whole path.
struct module_path_parts {
    std::wstring directory;
    std::wstring file_name;
};
module_path_parts split_module_path(const std::wstring& path);

// `root`, the brand, a backslash, the product name and a backslash. The names go in as
// they are: a backslash inside one adds a directory level.
std::wstring product_directory(const std::wstring& root, const brand_impl& brand);

// The folder for crash dumps: user_product_directory followed by "Dumps", without a
// trailing backslash.
std::wstring dumps_directory();

}  // namespace config
