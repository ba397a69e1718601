// Configuration start-up on Windows: string table, module path, application-data
// folders, and the crash-dump set-up for a start-up without a module handle.
#include "configuration/startup.hpp"

#include "support/crash/crash_handler.hpp"
#include "support/exceptions/exception.hpp"
#include "support/exceptions/exception_w.hpp"
#include "support/unicode/conversion.hpp"

#include <shlobj.h>

#include <boost/filesystem/operations.hpp>

#include <algorithm>
#include <cstdlib>
#include <cwchar>
#include <iterator>

namespace config {

namespace {

constexpr int text_buffer_size = 260;

// Set once the crash handler's removal is on the exit-time list, so that a second
// start-up does not put it there twice.
bool removal_registered = false;

// The text of a buffer that the system filled, up to its first 0, never beyond its end.
std::wstring buffer_text(const wchar_t* buffer) { return std::wstring(buffer, ::wcsnlen(buffer, text_buffer_size)); }

void set_up_crash_dumps() {
    const std::wstring dumps = dumps_directory();
    boost::filesystem::create_directories(boost::filesystem::path(dumps));
    const std::string prefix =
        replay::unicode::to_narrow(dumps + L"\\" + module_file_name, replay::unicode::ansi_code_page, true);
    if (replay::install_crash_handler(prefix) && !removal_registered) {
        removal_registered = true;
        std::atexit(replay::remove_crash_handler);
    }
}

}  // namespace

std::wstring load_string(HINSTANCE module, int id) {
    wchar_t buffer[text_buffer_size] = {};
    if (::LoadStringW(module, static_cast<UINT>(id), buffer, text_buffer_size) == 0)
        throw replay::exception("resource string %d is not found", id);
    return buffer_text(buffer);
}

void startup(HINSTANCE module) {
    brand.m_brand = load_string(module, brand_string_id);
    brand.m_product_name = load_string(module, product_string_id);
    init(module);
}

void init(HINSTANCE module) {
    wchar_t buffer[text_buffer_size] = {};
    if (::GetModuleFileNameW(module, buffer, text_buffer_size) == 0)
        throw replay::exception_w(L"Error. config::init. GetModuleFileName return 0.");
    const module_path_parts parts = split_module_path(buffer_text(buffer));
    module_directory = parts.directory;
    module_file_name = parts.file_name;

    // The folders' current locations, without creating them.
    std::fill(std::begin(buffer), std::end(buffer), L'\0');
    if (FAILED(::SHGetFolderPathW(nullptr, CSIDL_COMMON_APPDATA, nullptr, SHGFP_TYPE_CURRENT, buffer)))
        throw replay::exception_w(L"Error. config::init. Can not find CSIDL_COMMON_APPDATA.");
    common_data_root = buffer_text(buffer) + L'\\';
    common_product_directory = product_directory(common_data_root, brand);

    std::fill(std::begin(buffer), std::end(buffer), L'\0');
    if (FAILED(::SHGetFolderPathW(nullptr, CSIDL_APPDATA, nullptr, SHGFP_TYPE_CURRENT, buffer)))
        user_data_root = common_data_root;
    else
        user_data_root = buffer_text(buffer) + L'\\';
    user_product_directory = product_directory(user_data_root, brand);

    if (module == nullptr)
        set_up_crash_dumps();
}

}  // namespace config
