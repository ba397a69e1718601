// The name under which a named system mutex is created, by the system's major version.
#pragma once

#include <cstdint>
#include <string>

namespace replay {

// Major version 4 or less (no object namespaces): everything up to and including the
// last backslash is removed. Major version 5 or more: a name without any backslash gets
// "Global\" in front, so that one object serves the whole machine rather than one per
// logon; a name that already holds a backslash ("Local\x") is kept as it is.
std::string prepare_mutex_name(const std::string& name, std::uint32_t major_version);

}  // namespace replay
