// The name under which a named system mutex is created.
#include "support/sync/mutex_name.hpp"

namespace replay {

std::string prepare_mutex_name(const std::string& name, std::uint32_t major_version) {
    const std::size_t last_backslash = name.rfind('\\');
    if (major_version <= 4)
        return last_backslash == std::string::npos ? name : name.substr(last_backslash + 1);
    return last_backslash == std::string::npos ? "Global\\" + name : name;
}

}  // namespace replay
