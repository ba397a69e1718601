// Naming the per-run working directory and deriving its parent folder.
#include "bootstrap/working_directory.hpp"

#include "support/text/format.hpp"

namespace bootstrap {

std::int32_t run_number(std::int64_t seconds_since_1970) {
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(static_cast<std::uint64_t>(seconds_since_1970)));
}

std::string working_directory_name(std::string_view temp_folder, std::int32_t number) {
    std::string path(temp_folder);
    path += "QZV";
    path += replay::format_text("%i", number);
    path += '\\';
    return path;
}

std::string parent_folder(std::string_view working_directory) {
    if (working_directory.size() >= 2) {
        const std::size_t slash = working_directory.rfind('\\', working_directory.size() - 2);
        if (slash != std::string_view::npos)
            return std::string(working_directory.substr(0, slash));
    }
    return std::string(working_directory);
}

}  // namespace bootstrap
