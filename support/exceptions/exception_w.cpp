// An error object with a wide message and narrow texts made on demand.
#include "support/exceptions/exception_w.hpp"

#include "support/text/format.hpp"
#include "support/unicode/conversion.hpp"

#include <cstdarg>

namespace replay {

exception_w::exception_w(const wchar_t* format, ...) : exception(std::string()) {
    std::va_list args;
    va_start(args, format);
    struct end_args { std::va_list& a; ~end_args() { va_end(a); } } guard{args};
    m_message_w = vformat_text_w(format, args);
}

exception_w::~exception_w() = default;

const char* exception_w::what() const noexcept {
    try {
        narrow();
        return compose();
    } catch (...) {
        // The lenient conversion reports no unmappable character, so only running out of
        // memory ends here, and what() may not throw.
        return unavailable_text;
    }
}

const char* exception_w::message() const {
    narrow();
    return exception::message();
}

const char* exception_w::kind() const {
    narrow();
    return exception::kind();
}

const wchar_t* exception_w::what_w() const {
    m_what_w = m_kind_w + L"[" + m_message_w + L"]";
    return m_what_w.c_str();
}

const wchar_t* exception_w::message_w() const { return m_message_w.c_str(); }

const wchar_t* exception_w::kind_w() const { return m_kind_w.c_str(); }

void exception_w::narrow() const {
    if (m_narrowed)
        return;
    // Both are converted before either is stored, so a failure leaves the object as it was.
    std::string kind = unicode::to_narrow(m_kind_w, unicode::ansi_code_page, false);
    std::string message = unicode::to_narrow(m_message_w, unicode::ansi_code_page, false);
    m_kind = std::move(kind);
    m_message = std::move(message);
    m_narrowed = true;
}

}  // namespace replay
