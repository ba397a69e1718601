// The rule for stored file names: plain names only, so nothing is written outside the
// working directory.
#include "container/stored_file_name.hpp"

#include "support/text/strings.hpp"

#include <array>
#include <string>

namespace container {

namespace {

bool is_device_name(std::string_view name) {
    // Windows maps these names to devices whatever extension follows them.
    std::string base = replay::upper_copy(name.substr(0, name.find('.')));
    while (!base.empty() && base.back() == ' ')
        base.pop_back();
    static constexpr std::array<std::string_view, 4> plain = {"CON", "PRN", "AUX", "NUL"};
    for (std::string_view device : plain)
        if (base == device)
            return true;
    return base.size() == 4 && (base.compare(0, 3, "COM") == 0 || base.compare(0, 3, "LPT") == 0) &&
           base[3] >= '1' && base[3] <= '9';
}

}  // namespace

bool is_plain_file_name(std::string_view name) {
    if (name.empty() || name == "." || name == "..")
        return false;
    for (unsigned char c : name)
        if (c < 32 || std::string_view("\\/:<>\"|?*").find(static_cast<char>(c)) != std::string_view::npos)
            return false;
    if (name.back() == '.' || name.back() == ' ')
        return false;
    return !is_device_name(name);
}

}  // namespace container
