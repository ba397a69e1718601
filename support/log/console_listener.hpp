// A listener that writes entries to the standard output in the console's (OEM) code page.
#pragma once

#include "support/log/listener.hpp"

#include <cstdint>
#include <iosfwd>
#include <string>

namespace replay::log {

class console_listener final : public listener {
public:
    // Writes to the process's standard output (std::cout).
    console_listener();
    // Writes to `out` instead, which must outlive the listener.
    explicit console_listener(std::ostream& out);
    ~console_listener() override;

    // Writes the stamp, the text in the OEM code page and a line end, then flushes.
    // Characters that the OEM code page lacks become "?"; the rest is converted.
    void write(std::int32_t level, const std::string& stamp, const std::string& text) override;

private:
    std::ostream* out_;
};

// The UTF-8 text in the OEM code page: converted whole when every character has a form
// there, otherwise one 16-bit unit at a time with "?" for each unit that has none.
std::string to_console_text(const std::string& text);

}  // namespace replay::log
