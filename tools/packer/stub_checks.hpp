// What makes a program image unfit to be an installer's stub: a container already
// inside it, or an Authenticode signature (signing must come after building).
#pragma once

#include "container/file_system.hpp"

#include <cstdint>

namespace tools {

enum class check_result { no, yes, unreadable };

// Whether the file holds a complete tail record (tail text, its length and its digest)
// anywhere: then it is an installer already. The tail text alone, as every stub holds
// it among its constants, does not count.
check_result holds_tail_record(container::file& image, std::uint64_t size);

// Whether the file is a PE image whose security directory entry names a certificate
// table. A file that is no PE image has none.
check_result has_authenticode_signature(container::file& image, std::uint64_t size);

}  // namespace tools
