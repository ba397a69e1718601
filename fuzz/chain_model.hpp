// A plain model of reading an installer's chain, straight over its bytes, against which
// the container reader is checked: what an extraction must report, keep and write.
#pragma once

#include "container/md5.hpp"
#include "container/stored_file_name.hpp"

#include <cstdint>
#include <map>
#include <set>
#include <string>
#include <string_view>
#include <vector>

namespace fuzzing {

struct chain_outcome {
    bool tail_found = false;
    bool archive_valid = false;
    bool complete = false;                    // reading ended at the stub group
    bool out_of_temporary_names = false;      // every temporary name was taken by a stored file
    std::vector<std::string> captions;        // messages, in order
    std::map<std::string, std::string> values;  // what the container added, first entry wins
    std::set<std::string> texts_read;         // every text record read: names to look up afterwards
    std::map<std::string, std::string> files; // stored file name -> data left on disk
    std::vector<std::string> written;         // stored file names as they were written
};

// Walks `bytes` as an installer, with every stored file written into an empty folder.
// `preset` holds the values that the run puts in the table before reading.
class chain_model {
public:
    chain_model(std::string_view bytes, const std::map<std::string, std::string>& preset)
        : bytes_(bytes), preset_(preset) {}

    chain_outcome walk() {
        std::uint64_t tail = 0;
        if (!find_tail(tail)) {
            out_.captions.push_back("Failed to initialize archive!");
            return out_;
        }
        out_.tail_found = true;
        std::uint64_t end = tail + 42;
        for (;;) {
            std::string kind, name;
            if (!next(end, kind))
                return out_;
            if (kind == "chunked-installer-tail") {
                out_.archive_valid = true;
                continue;
            }
            if (!next(end, name))
                return out_;
            if (kind == "value") {
                std::string value;
                if (!next(end, value))
                    return out_;
                add(name, value);
            } else if (kind == "file") {
                if (!file_group(end, name))
                    return out_;
            } else if (kind == "stub") {
                out_.complete = true;
                return out_;
            }
        }
    }

private:
    enum class record { read, unreadable, damaged };

    // The last window of 22 bytes that starts at offset 23 or later and ends before the
    // file's last byte.
    bool find_tail(std::uint64_t& offset) const {
        const std::string_view tail = "chunked-installer-tail";
        if (bytes_.size() < 23 + 23)
            return false;
        for (std::uint64_t p = bytes_.size() - 23; p >= 23; --p)
            if (bytes_.substr(p, 22) == tail) {
                offset = p;
                return true;
            }
        return false;
    }

    record read(std::uint64_t& end, std::string& data) const {
        if (end < 20 || end > bytes_.size())
            return record::unreadable;
        const auto byte = [this](std::uint64_t at) { return std::uint32_t(static_cast<unsigned char>(bytes_[at])); };
        const std::uint64_t length_at = end - 20;
        const std::uint32_t length = byte(length_at) | byte(length_at + 1) << 8 | byte(length_at + 2) << 16 |
                                     byte(length_at + 3) << 24;
        if (length > length_at || length > 2147483644u)
            return record::unreadable;
        data = std::string(bytes_.substr(length_at - length, length));
        const bool matches = container::md5(data).digest() == bytes_.substr(end - 16, 16);
        end = length_at - length;
        return matches ? record::read : record::damaged;
    }

    // Reads the next record; a damaged one is reported and clears the flag.
    bool next(std::uint64_t& end, std::string& data) {
        const record result = read(end, data);
        if (result == record::damaged) {
            out_.captions.push_back("Invalid Archive!");
            out_.archive_valid = false;
        }
        if (result == record::read)
            out_.texts_read.insert(data);
        return result == record::read;
    }

    bool file_group(std::uint64_t& end, const std::string& name) {
        std::string file_name, data;
        if (!next(end, file_name))
            return false;
        // The data goes to a temporary name first; stored files may have taken them all.
        out_.out_of_temporary_names = true;
        for (int k = 0; k < 16; ++k)
            if (out_.files.count("~extracting" + std::to_string(k) + ".tmp") == 0)
                out_.out_of_temporary_names = false;
        if (out_.out_of_temporary_names) {
            out_.captions.push_back("Failed to extract file!");
            return false;
        }
        if (!next(end, data))
            return false;
        if (!container::is_plain_file_name(file_name)) {
            out_.captions.push_back("Failed to extract file!");
            return false;
        }
        if (!name.empty())
            add(name, file_name);
        out_.files[file_name] = data;
        out_.written.push_back(file_name);
        return true;
    }

    void add(const std::string& name, const std::string& value) {
        if (preset_.count(name) == 0)
            out_.values.emplace(name, value);
    }

    std::string_view bytes_;
    const std::map<std::string, std::string>& preset_;
    chain_outcome out_;
};

}  // namespace fuzzing
