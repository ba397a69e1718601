// Rotation of a size-limited log file into numbered copies.
#include "support/log/rotation.hpp"

#include "support/text/format.hpp"

namespace replay::log {

std::string live_file_name(const std::string& base_name) {
    return format_text("%s.log.txt", base_name.c_str());
}

std::string copy_file_name(const std::string& base_name, std::uint32_t number) {
    return format_text("%s.%i.log.txt", base_name.c_str(), static_cast<int>(number));
}

namespace {

// Copies 2 to `copies` one number down, copy 1 being replaced; stops at the first move
// that fails, which leaves the copies above it where they are.
void shift_copies_down(rotation_files& files, const std::string& base_name, std::uint32_t copies) {
    for (std::uint32_t k = 1; k < copies; ++k) {
        if (!files.move_replacing(copy_file_name(base_name, k + 1), copy_file_name(base_name, k)))
            return;
    }
}

// Tries numbers from `number` up to `copies`; true once a copy has been made. `number`
// is left at the last number tried.
bool copy_to_free_number(rotation_files& files, const std::string& base_name,
                         std::uint32_t copies, std::uint32_t& number) {
    for (;;) {
        const std::string copy_name = copy_file_name(base_name, number);
        if (copies == 1)
            files.remove(copy_name);
        if (files.copy_live_to(copy_name))
            return true;
        if (number >= copies)
            return false;
        ++number;
    }
}

}  // namespace

void rotate(rotation_files& files, const std::string& base_name, std::uint32_t copies) {
    if (copies != 0) {
        // The search starts at 1 once, so a gap in the numbers is filled first; after a
        // shift it goes on from the number reached, which the shift has just freed.
        std::uint32_t number = 1;
        for (unsigned round = 1;; ++round) {
            if (copy_to_free_number(files, base_name, copies, number) ||
                round == max_rotation_rounds)
                break;
            shift_copies_down(files, base_name, copies);
        }
    }
    files.empty_live();
}

}  // namespace replay::log
