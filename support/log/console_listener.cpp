// A listener that writes entries to the standard output in the OEM code page.
#include "support/log/console_listener.hpp"

#include "support/exceptions/unicode_errors.hpp"
#include "support/unicode/conversion.hpp"

#include <iostream>

namespace replay::log {
namespace {

// The strict conversion of `wide` to the OEM code page; empty when it fails.
std::string to_oem_or_empty(const std::wstring& wide) {
    try {
        return unicode::to_narrow(wide, unicode::oem_code_page, true);
    } catch (const unicode::generic&) {
        // A character the console cannot show: the caller converts unit by unit.
        return std::string();
    }
}

}  // namespace

std::string to_console_text(const std::string& text) {
    const std::wstring wide = unicode::to_wide(text, unicode::utf8_code_page);
    std::string converted = to_oem_or_empty(wide);
    if (!converted.empty() || wide.empty())
        return converted;
    for (wchar_t unit : wide) {
        const std::string one = to_oem_or_empty(std::wstring(1, unit));
        converted += one.empty() ? std::string("?") : one;
    }
    return converted;
}

console_listener::console_listener() : out_(&std::cout) {}

console_listener::console_listener(std::ostream& out) : out_(&out) {}

console_listener::~console_listener() = default;

void console_listener::write(std::int32_t, const std::string& stamp, const std::string& text) {
    *out_ << stamp << to_console_text(text) << std::endl;
}

}  // namespace replay::log
