// The command text: the process command line after the program's own name.
#include "bootstrap/command_text.hpp"

namespace bootstrap {

std::string_view command_text(std::string_view command_line, lead_byte_test is_lead_byte) {
    std::size_t i = 0;
    bool quoted = false;
    while (i < command_line.size()) {
        const auto byte = static_cast<unsigned char>(command_line[i]);
        if (byte == 0 || (byte <= ' ' && !quoted))
            break;
        if (byte == '"')
            quoted = !quoted;
        if (is_lead_byte != nullptr && is_lead_byte(byte) && i + 1 < command_line.size())
            ++i;
        ++i;
    }
    while (i < command_line.size()) {
        const auto byte = static_cast<unsigned char>(command_line[i]);
        if (byte == 0 || byte > ' ')
            break;
        ++i;
    }
    return command_line.substr(i);
}

}  // namespace bootstrap
