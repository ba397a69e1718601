// Writing records: the length and digest that follow each record's data.
#include "container/record_format.hpp"

#include "container/md5.hpp"

namespace container::record_format {

std::string record_trailer(std::uint32_t length, const std::string& digest) {
    unsigned char field[length_size];
    store_length(length, field);
    std::string trailer(reinterpret_cast<const char*>(field), length_size);
    trailer += digest;
    return trailer;
}

void append_record(std::string& out, std::string_view data) {
    out.append(data.data(), data.size());
    out += record_trailer(static_cast<std::uint32_t>(data.size()), md5(data).digest());
}

std::string make_record(std::string_view data) {
    std::string record;
    append_record(record, data);
    return record;
}

}  // namespace container::record_format
