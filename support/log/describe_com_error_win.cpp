// The description of a _com_error for an entry at the exception level.
#include "support/log/describe_exception.hpp"

#include "support/unicode/conversion.hpp"
#include "support/win/windows.hpp"

#include <comdef.h>

namespace replay::log {

std::optional<std::wstring> describe_com_error(const std::exception_ptr& error,
                                               const std::wstring& message) {
    try {
        std::rethrow_exception(error);
    } catch (const _com_error& com_error) {
        // ErrorMessage() is narrow text in the ANSI code page (no UNICODE build), and null
        // only when the error could not even allocate its text.
        const char* text = com_error.ErrorMessage();
        return message + L" _com_error: " +
               unicode::to_wide(text != nullptr ? text : "", unicode::ansi_code_page);
    } catch (...) {
        return std::nullopt;
    }
}

}  // namespace replay::log
