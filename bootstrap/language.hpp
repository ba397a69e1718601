// The installation language that an earlier installation of the product recorded in its
// uninstall key.
#pragma once

#include <string>

namespace bootstrap {

// The uninstall key of a product, below HKEY_LOCAL_MACHINE.
std::wstring uninstall_key_path(const std::wstring& product_name);

// The value "InstallerLanguage" of the product's uninstall key (REG_SZ, or REG_EXPAND_SZ
// expanded) in the ANSI code page; empty when the value is empty. Both keys are closed
// again before it returns or throws.
// Throws the replay::registry2 errors when the key or the value is missing or the value
// is not a string, and the replay::unicode errors when the text has no ANSI form.
std::string installed_language(const std::wstring& product_name);

}  // namespace bootstrap
