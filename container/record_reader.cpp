// Reading one record backwards from its end, and finding the tail record.
#include "container/record_reader.hpp"

#include "container/md5.hpp"
#include "container/record_format.hpp"

#include <algorithm>
#include <vector>

namespace container {

namespace format = record_format;

record_result read_record_data(chain_position& chain, const chunk_sink& sink) {
    record_result result;
    const std::uint64_t end = chain.position;
    if (end < format::trailer_size || end > chain.size)
        return result;

    unsigned char trailer[format::trailer_size];
    if (!chain.source.seek(end - format::trailer_size) || !chain.source.read(trailer, sizeof trailer))
        return result;
    result.length = format::load_length(trailer);
    const std::string stored_digest(reinterpret_cast<const char*>(trailer + format::length_size),
                                    format::digest_size);
    const std::uint64_t data_end = end - format::trailer_size;
    if (result.length > format::max_data_length || result.length > data_end)
        return result;

    const std::uint64_t start = data_end - result.length;
    if (!chain.source.seek(start))
        return result;
    md5 hash;
    std::vector<char> buffer(std::min<std::size_t>(result.length, chunk_size));
    for (std::size_t left = result.length; left > 0;) {
        const std::size_t piece = std::min(left, buffer.size());
        if (!chain.source.read(buffer.data(), piece))
            return result;
        hash.update(buffer.data(), piece);
        if (!sink(buffer.data(), piece)) {
            result.status = record_status::refused;
            return result;
        }
        left -= piece;
    }
    chain.position = start;
    result.status = hash.digest() == stored_digest ? record_status::read : record_status::damaged;
    return result;
}

record_result read_record_text(chain_position& chain, std::string& data) {
    return read_record_data(chain, [&data](const char* bytes, std::size_t count) {
        data.append(bytes, count);
        return true;
    });
}

bool find_tail(file& source, std::uint64_t size, std::uint64_t& tail_offset) {
    const std::string_view tail = format::tail_text;
    // Windows start at offset 23 or later and end one byte before the end of the file,
    // the byte where a search that steps back 23 and reads 22 begins.
    if (size < format::min_tail_offset + tail.size() + 1)
        return false;
    const std::uint64_t low = format::min_tail_offset;
    std::uint64_t high = size - 1;  // end of the bytes that a window may cover
    std::vector<char> block(std::max<std::size_t>(chunk_size / 16, 2 * tail.size()));
    while (high - low >= tail.size()) {
        const std::uint64_t start = std::max(low, high - std::min<std::uint64_t>(high, block.size()));
        const std::size_t count = static_cast<std::size_t>(high - start);
        if (!source.seek(start) || !source.read(block.data(), count))
            return false;
        const std::string_view bytes(block.data(), count);
        const std::size_t found = bytes.rfind(tail);
        if (found != std::string_view::npos) {
            tail_offset = start + found;
            return true;
        }
        // The next block overlaps this one by all but one byte of a window.
        high = start + tail.size() - 1;
    }
    return false;
}

}  // namespace container
