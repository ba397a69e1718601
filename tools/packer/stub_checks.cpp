// Stub checks: a complete tail record inside the image, and the PE security directory.
#include "tools/packer/stub_checks.hpp"

#include "container/record_format.hpp"

#include <algorithm>
#include <string>
#include <vector>

namespace tools {

namespace format = container::record_format;

check_result holds_tail_record(container::file& image, std::uint64_t size) {
    const std::string tail_record = format::make_record(format::tail_text);
    std::vector<char> block(1 << 20);
    const std::size_t overlap = tail_record.size() - 1;
    for (std::uint64_t start = 0; start < size;) {
        const std::size_t count = static_cast<std::size_t>(std::min<std::uint64_t>(block.size(), size - start));
        if (!image.seek(start) || !image.read(block.data(), count))
            return check_result::unreadable;
        if (std::string_view(block.data(), count).find(tail_record) != std::string_view::npos)
            return check_result::yes;
        if (start + count >= size)
            break;
        start += count - overlap;
    }
    return check_result::no;
}

namespace {

std::uint32_t load_le(const unsigned char* p, int bytes) {
    std::uint32_t value = 0;
    for (int k = bytes - 1; k >= 0; --k)
        value = value << 8 | p[k];
    return value;
}

// PE layout: the DOS header's e_lfanew at 0x3c locates "PE\0\0", a 20-byte file header
// (SizeOfOptionalHeader at 16) and the optional header, whose magic says where the data
// directories start; the security directory is entry 4, eight bytes per entry.
constexpr std::uint64_t new_header_field = 0x3c;
constexpr std::size_t file_header_size = 20;
constexpr std::uint32_t pe32_magic = 0x10b;
constexpr std::uint32_t pe32_plus_magic = 0x20b;
constexpr std::size_t pe32_directory_count_at = 92;
constexpr std::size_t pe32_plus_directory_count_at = 108;
constexpr std::uint32_t security_directory = 4;

}  // namespace

check_result has_authenticode_signature(container::file& image, std::uint64_t size) {
    unsigned char dos[64];
    if (size < sizeof dos)
        return check_result::no;
    if (!image.seek(0) || !image.read(dos, sizeof dos))
        return check_result::unreadable;
    if (dos[0] != 'M' || dos[1] != 'Z')
        return check_result::no;
    const std::uint64_t pe_at = load_le(dos + new_header_field, 4);
    unsigned char headers[4 + file_header_size];
    if (pe_at + sizeof headers > size)
        return check_result::no;
    if (!image.seek(pe_at) || !image.read(headers, sizeof headers))
        return check_result::unreadable;
    if (std::string_view(reinterpret_cast<char*>(headers), 4) != std::string_view("PE\0\0", 4))
        return check_result::no;
    const std::size_t optional_size = load_le(headers + 4 + 16, 2);
    if (pe_at + sizeof headers + optional_size > size || optional_size < 2)
        return check_result::no;
    std::vector<unsigned char> optional(optional_size);
    if (!image.read(optional.data(), optional.size()))
        return check_result::unreadable;
    const std::uint32_t magic = load_le(optional.data(), 2);
    const std::size_t count_at = magic == pe32_plus_magic ? pe32_plus_directory_count_at
                                 : magic == pe32_magic    ? pe32_directory_count_at
                                                          : 0;
    if (count_at == 0 || count_at + 4 > optional_size)
        return check_result::no;
    const std::uint32_t directories = load_le(optional.data() + count_at, 4);
    const std::size_t entry_at = count_at + 4 + 8 * security_directory;
    if (directories <= security_directory || entry_at + 8 > optional_size)
        return check_result::no;
    const std::uint32_t table_offset = load_le(optional.data() + entry_at, 4);
    const std::uint32_t table_size = load_le(optional.data() + entry_at + 4, 4);
    return table_offset != 0 || table_size != 0 ? check_result::yes : check_result::no;
}

}  // namespace tools
