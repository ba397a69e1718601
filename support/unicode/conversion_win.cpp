// Narrow/wide conversion through the system's code-page services.
#include "support/unicode/conversion.hpp"

#include "support/exceptions/unicode_errors.hpp"
#include "support/unicode/conversion_errors.hpp"
#include "support/win/windows.hpp"

#include <climits>
#include <vector>

namespace replay::unicode {

namespace {

// The services count in int; a length beyond that cannot be passed whole, and converting
// only a part would hand out a cut text as if it were the whole one.
int checked_count(std::size_t count) {
    if (count > static_cast<std::size_t>(INT_MAX))
        throw out_of_memory(std::string());
    return static_cast<int>(count);
}

}  // namespace

std::string to_narrow(const std::wstring& text, std::uint32_t code_page, bool strict) {
    if (text.empty())
        return {};
    CPINFO info{};
    if (!::GetCPInfo(code_page, &info))
        throw invalid_codepage(std::string());
    const int text_count = checked_count(text.size());
    if (text.size() > static_cast<std::size_t>(INT_MAX) / info.MaxCharSize)
        throw out_of_memory(std::string());
    std::vector<char> buffer(text.size() * info.MaxCharSize);
    BOOL default_used = FALSE;
    const int count =
        ::WideCharToMultiByte(code_page, 0, text.data(), text_count, buffer.data(), checked_count(buffer.size()),
                              nullptr, flags_allowed(code_page) ? &default_used : nullptr);
    // A strict conversion that produced output is still refused.
    if (default_used && strict)
        throw unmappable_character(std::string());
    if (count > 0)
        return std::string(buffer.data(), static_cast<std::size_t>(count));
    detail::throw_narrow_failure(::GetLastError());
}

std::wstring to_wide(const std::string& text, std::uint32_t code_page) {
    if (text.empty())
        return {};
    // One unit per input byte is always enough.
    std::vector<wchar_t> buffer(text.size());
    const int count = checked_count(text.size());
    const DWORD flags = flags_allowed(code_page) ? MB_ERR_INVALID_CHARS : 0;
    const int converted = ::MultiByteToWideChar(code_page, flags, text.data(), count, buffer.data(), count);
    if (converted > 0)
        return std::wstring(buffer.data(), static_cast<std::size_t>(converted));
    detail::throw_wide_failure(::GetLastError());
}

}  // namespace replay::unicode
