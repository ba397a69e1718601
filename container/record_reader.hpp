// Reading the chain of records backwards: the search for the tail record and the reading
// of one record with its digest checked. No messages here; callers decide what a failure
// means (the extraction reports it, the tool's listing goes on past it).
#pragma once

#include "container/file_system.hpp"

#include <cstdint>
#include <functional>
#include <string>

namespace container {

// A container file being read: the open file, its size, and the position where the next
// record to read ends. Reading a record moves the position to that record's first byte.
struct chain_position {
    file& source;
    std::uint64_t size = 0;
    std::uint64_t position = 0;
};

enum class record_status {
    read,        // all data delivered and the digest matched
    unreadable,  // a read failed, or the record's length reaches outside the file or the format's limit
    damaged,     // all data delivered, but it does not match the stored digest
    refused,     // the receiver of the data refused a piece of it; reading stopped there
};

struct record_result {
    record_status status = record_status::unreadable;
    std::uint32_t length = 0;  // the stored length, once it was read
};

// Receives a record's data in pieces as it is read; returns false to stop reading.
using chunk_sink = std::function<bool(const char* bytes, std::size_t count)>;

// The size of the pieces in which record data is read, hashed and handed on: large
// records are never held in memory whole.
constexpr std::size_t chunk_size = 1u << 20;

// Reads the record that ends at chain.position: stored digest, length, then the data in
// pieces into `sink` while hashing it. A length that would reach before the start of the
// file or past the format's limit is unreadable before anything is read or allocated.
// On `read` and `damaged` the position is at the record's first byte; otherwise it is
// unchanged.
record_result read_record_data(chain_position& chain, const chunk_sink& sink);

// Reads a whole record into `data` (appended piece by piece, so memory grows only with
// bytes actually read).
record_result read_record_text(chain_position& chain, std::string& data);

// Searches backwards for the last occurrence of the tail text that starts at offset 23 or
// later and ends before the file's last byte, reading the file in large blocks. Returns
// true and its offset, or false when there is none or a read failed (source.error()
// then holds the code).
bool find_tail(file& source, std::uint64_t size, std::uint64_t& tail_offset);

}  // namespace container
