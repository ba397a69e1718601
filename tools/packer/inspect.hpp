// Walking an installer's chain the way Reader.exe does, without stopping at damage and
// without writing anything: the groups in reading order with their digests' verdicts.
#pragma once

#include "container/file_system.hpp"

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace tools {

struct listed_group {
    std::string kind;       // "tail", "value", "file", "stub" or an unknown kind text
    std::string name;       // empty for the tail
    std::string file_name;  // file groups only
    std::uint64_t size = 0; // data bytes of the value, the file data or the tail text
    int records = 0;        // records read for this group
    bool verified = true;   // every record read for this group matched its digest
};

struct listing {
    bool tail_found = false;
    std::vector<listed_group> groups;  // in reading order
    int records_read = 0;
    int records_verified = 0;
    bool reached_stub = false;         // the walk ended at the stub group, as a full read does
    std::string stopped;               // why the walk ended early; empty when it reached the stub

    // Reader.exe would read this container completely: tail found, a tail record read on
    // the way, stub reached, every digest matched, and every stored file name plain.
    bool complete() const;

    // Why complete() is false, one reason per line; empty when it is true.
    std::vector<std::string> problems() const;
};

// Walks the installer at `path`. `on_bytes` is told how many bytes were hashed, for a
// progress display. Failing to open the file gives a listing with `stopped` saying so.
listing inspect_installer(container::file_system& files, const std::string& path,
                          const std::function<void(std::uint64_t)>& on_bytes);

}  // namespace tools
