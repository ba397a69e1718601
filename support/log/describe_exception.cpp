// The text of an entry at the exception level.
#include "support/log/describe_exception.hpp"

#include "support/exceptions/exception_w.hpp"
#include "support/unicode/conversion.hpp"

namespace replay::log {

std::wstring describe_current_exception(const std::wstring& message) {
    const std::exception_ptr current = std::current_exception();
    if (!current)
        return message;
    if (std::optional<std::wstring> text = describe_com_error(current, message))
        return *text;
    try {
        std::rethrow_exception(current);
    } catch (const exception_w& error) {
        return message + L" Exception: " + error.what_w();
    } catch (const std::exception& error) {
        return message + L" exception: " + unicode::to_wide(error.what(), unicode::ansi_code_page);
    } catch (...) {
        return message + L" unknown exception caught";
    }
}

}  // namespace replay::log
