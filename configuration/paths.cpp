// The product's paths as process-wide values, and the rules that compose them.
#include "configuration/paths.hpp"

namespace config {

std::wstring module_directory;
std::wstring module_file_name;
std::wstring common_data_root;
std::wstring common_product_directory;
std::wstring user_data_root;
std::wstring user_product_directory;

module_path_parts split_module_path(const std::wstring& path) {
    const std::size_t last = path.rfind(L'\\');
    if (last == std::wstring::npos)
        return {std::wstring(), path};
    return {path.substr(0, last + 1), path.substr(last + 1)};
}

std::wstring product_directory(const std::wstring& root, const brand_impl& brand) {
    return root + brand.m_brand + L'\\' + brand.m_product_name + L'\\';
}

std::wstring dumps_directory() { return user_product_directory + L"Dumps"; }

}  // namespace config
