// The code-page rules shared by every platform's conversions.
#include "support/unicode/conversion.hpp"

namespace replay::unicode {

bool flags_allowed(std::uint32_t code_page) {
    switch (code_page) {
    case 42:     // symbol
    case 50221:  // ISO-2022 Japanese variants
    case 50222:
    case 50225:  // ISO-2022 Korean
    case 50227:  // ISO-2022 Simplified Chinese
    case 50229:  // ISO-2022 Traditional Chinese
    case 52936:  // HZ-GB2312
    case 54936:  // GB18030
    case 65000:  // UTF-7
    case 65001:  // UTF-8
        return false;
    default:
        // 57002 to 57011: the ISCII code pages.
        return code_page < 57002 || code_page > 57011;
    }
}

}  // namespace replay::unicode
