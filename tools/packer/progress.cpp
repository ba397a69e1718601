// The one-line percentage display.
#include "tools/packer/progress.hpp"

#include <algorithm>

namespace tools {

progress::progress(std::ostream& out, bool enabled, std::string label, std::uint64_t total)
    : out_(out), shown_(enabled && total >= progress_threshold), label_(std::move(label)), total_(total) {
    advance(0);
}

void progress::advance(std::uint64_t bytes) {
    if (!shown_)
        return;
    done_ += bytes;
    const int percent = total_ == 0 ? 100 : static_cast<int>(std::min<std::uint64_t>(done_, total_) * 100 / total_);
    if (percent == percent_)
        return;
    percent_ = percent;
    out_ << '\r' << label_ << ' ' << percent << '%' << std::flush;
}

void progress::finish() {
    if (!shown_)
        return;
    out_ << '\n' << std::flush;
    shown_ = false;
}

}  // namespace tools
