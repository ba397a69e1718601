// The recorded installation language, read through the registry layer.
#include "bootstrap/language.hpp"

#include "support/registry/registry.hpp"

namespace bootstrap {

std::string installed_language(const std::wstring& product_name) {
    // The subkey is declared after the root, so it is closed first, also when the read throws.
    const replay::registry2::key root = replay::registry2::open_local_machine();
    const replay::registry2::key uninstall = replay::registry2::open_subkey(root, uninstall_key_path(product_name));
    return replay::registry2::read_string_narrow(uninstall, L"InstallerLanguage");
}

}  // namespace bootstrap
