// Systems without COM have no _com_error to describe.
#include "support/log/describe_exception.hpp"

namespace replay::log {

std::optional<std::wstring> describe_com_error(const std::exception_ptr&, const std::wstring&) {
    return std::nullopt;
}

}  // namespace replay::log
