// Where an earlier installation of the product records its language.
#include "bootstrap/language.hpp"

namespace bootstrap {

std::wstring uninstall_key_path(const std::wstring& product_name) {
    return L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\" + product_name;
}

}  // namespace bootstrap
