// The registry layer's error family.
#include "support/exceptions/registry_errors.hpp"

namespace replay::registry2 {

generic::generic(const std::string& message) : exception(message) { append_kind("registry2"); }

key_error::key_error(const std::string& message) : generic(message) { append_kind("key_error"); }

value_error::value_error(const std::string& message) : generic(message) { append_kind("value_error"); }

type_mismatch::type_mismatch(const std::string& message) : generic(message) { append_kind("type_mismatch"); }

size_mismatch::size_mismatch(const std::string& message) : generic(message) { append_kind("size_mismatch"); }

}  // namespace replay::registry2
