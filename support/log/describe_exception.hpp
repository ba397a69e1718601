// The text of an entry at the exception level: the caller's message followed by a
// description of the exception that the caller is handling.
#pragma once

#include <exception>
#include <optional>
#include <string>

namespace replay::log {

// `message`, then a description of the exception being handled, tried in this order:
//   _com_error (Windows only):  "<message> _com_error: <its ErrorMessage(), from ANSI>"
//   replay::exception_w:        "<message> Exception: <what_w()>"
//   std::exception:             "<message> exception: <what(), from ANSI>"
//   anything else:              "<message> unknown exception caught"
// The exception is rethrown and caught again inside, so the caller's handler is not
// disturbed. Outside a handler there is nothing to describe and `message` comes back as
// it is. Throws only what the conversion from the ANSI code page throws.
std::wstring describe_current_exception(const std::wstring& message);

// The _com_error part of the description: on Windows the text for a _com_error held by
// `error`, nothing for any other exception; nothing at all elsewhere, where there is no
// such class.
std::optional<std::wstring> describe_com_error(const std::exception_ptr& error,
                                               const std::wstring& message);

}  // namespace replay::log
