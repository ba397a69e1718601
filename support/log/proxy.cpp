// A listener that forwards entries to another dispatcher.
#include "support/log/proxy.hpp"

#include "support/unicode/conversion.hpp"

#include <utility>

namespace replay::log {

proxy::proxy(dispatcher& target, std::string prefix) : target_(&target), prefix_(std::move(prefix)) {}

proxy::~proxy() = default;

void proxy::write(std::int32_t level, const std::string&, const std::string& text) {
    target_->log(level, unicode::to_wide(prefix_ + text, unicode::utf8_code_page));
}

}  // namespace replay::log
