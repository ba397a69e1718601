// The root of the support library's error objects.
#include "support/exceptions/exception.hpp"

#include "support/text/format.hpp"

#include <cstdarg>
#include <utility>

namespace replay {

const char* const exception::unavailable_text = "replay::exception: out of memory while composing the error text";

exception::exception(std::string message) : m_message(std::move(message)) {}

exception::exception(const char* format, ...) {
    std::va_list args;
    va_start(args, format);
    struct end_args { std::va_list& a; ~end_args() { va_end(a); } } guard{args};
    m_message = vformat_text(format, args);
}

exception::~exception() = default;

const char* exception::what() const noexcept {
    try {
        return compose();
    } catch (...) {
        // Only the allocation can fail here, and what() may not throw.
        return unavailable_text;
    }
}

const char* exception::message() const { return m_message.c_str(); }

const char* exception::kind() const { return m_kind.c_str(); }

const char* exception::compose() const {
    m_what = m_kind + "[" + m_message + "]";
    return m_what.c_str();
}

void exception::append_kind(const char* name) {
    if (!m_kind.empty())
        m_kind += '.';
    m_kind += name;
}

}  // namespace replay
