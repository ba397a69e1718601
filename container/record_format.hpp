// The byte layout of a container record and the fixed texts of the chain, shared by the
// reader in the product and the installer tool that writes containers.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace container::record_format {

// A record is its data, then the data's length, then the data's MD5 digest; nothing
// separates the fields or the records. The chain is read from the end of the file.
constexpr std::size_t length_size = 4;   // unsigned 32-bit little-endian byte count of the data
constexpr std::size_t digest_size = 16;  // raw MD5 digest of the data bytes (not of the length)
constexpr std::size_t trailer_size = length_size + digest_size;  // what follows a record's data

// A reader steps back over a record's data and length field in one signed 32-bit step,
// so a record holds at most 2^31 - 4 data bytes.
constexpr std::uint32_t max_data_length = 2147483644u;

// Readers work with 32-bit file positions: a whole installer stays below 4 GiB.
constexpr std::uint64_t max_file_size = 0xFFFFFFFFull;

// Data of the tail record, which ends the chain; met where a kind is expected, it marks
// the archive valid and reading goes on.
constexpr std::string_view tail_text = "chunked-installer-tail";

// The tail record's data starts at this file offset or later: the backward search stops
// once its window would start at offset 22.
constexpr std::uint64_t min_tail_offset = 23;

// The whole tail record: its text, its length and its digest.
constexpr std::size_t tail_record_size = 22 + trailer_size;

// Kinds of record groups; a group is written content first and kind last, so that the
// reader meets the kind first.
constexpr std::string_view value_kind = "value";  // kind, name, value
constexpr std::string_view file_kind = "file";    // kind, name, file name, data
constexpr std::string_view stub_kind = "stub";    // kind, name, then never read: file name, image

// The stub group that every installer starts with: the program's own image at offset 0.
constexpr std::string_view stub_name = "stub";
constexpr std::string_view stub_file_name = "Reader.exe";

// Little-endian length field.
inline void store_length(std::uint32_t length, unsigned char* out) {
    for (int k = 0; k < 4; ++k)
        out[k] = static_cast<unsigned char>(length >> (8 * k));
}

inline std::uint32_t load_length(const unsigned char* in) {
    return std::uint32_t(in[0]) | std::uint32_t(in[1]) << 8 | std::uint32_t(in[2]) << 16 |
           std::uint32_t(in[3]) << 24;
}

// The 20 bytes that follow a record's data: `length`, then `digest` (16 bytes).
std::string record_trailer(std::uint32_t length, const std::string& digest);

// Appends a whole record (data, length, digest) for `data` to `out`. `data` must not be
// longer than max_data_length.
void append_record(std::string& out, std::string_view data);

// The record that holds `data`, as it stands in a container.
std::string make_record(std::string_view data);

}  // namespace container::record_format
