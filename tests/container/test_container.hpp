// Containers laid out record by record for the reader's tests: the groups of an installer
// in file order, with ways to damage single records.
#pragma once

#include "container/record_format.hpp"

#include <string>
#include <vector>

namespace container_test {

namespace format = container::record_format;

// One record in file order, with the group it belongs to for finding it again.
struct record_entry {
    std::string data;
    std::string label;  // e.g. "file installer32 data"
};

// An installer file: the stub group, then the groups added, then the tail, then trailing
// bytes. Records can be damaged or replaced before the bytes are taken.
class test_container {
public:
    // A fake image that, like a real one, holds the tail text as a constant, followed by
    // bytes that make no readable record.
    static std::string fake_image() {
        std::string image = "MZ fake image, long enough to hold a tail;";
        image += format::tail_text;
        image += std::string(4, '\xff');
        image += std::string(200, 'i');
        return image;
    }

    test_container() {
        add("stub image", fake_image());
        add("stub file name", std::string(format::stub_file_name));
        add("stub name", std::string(format::stub_name));
        add("stub kind", std::string(format::stub_kind));
    }

    test_container& file(const std::string& name, const std::string& file_name, const std::string& data) {
        add("file " + name + " data", data);
        add("file " + name + " file name", file_name);
        add("file " + name + " name", name);
        add("file " + name + " kind", std::string(format::file_kind));
        return *this;
    }

    test_container& value(const std::string& name, const std::string& value) {
        add("value " + name + " value", value);
        add("value " + name + " name", name);
        add("value " + name + " kind", std::string(format::value_kind));
        return *this;
    }

    test_container& tail() {
        add("tail", std::string(format::tail_text));
        return *this;
    }

    test_container& raw(const std::string& label, const std::string& data) {
        add(label, data);
        return *this;
    }

    test_container& trailing(const std::string& bytes) {
        trailing_ = bytes;
        return *this;
    }

    // Flips one byte of the stored digest of the record with `label`, as if its data had
    // changed after the digest was taken (the tail text itself must stay findable).
    test_container& damage(const std::string& label) {
        damaged_.push_back(label);
        return *this;
    }

    std::string bytes() const {
        std::string out;
        for (const record_entry& entry : records_) {
            std::string record = format::make_record(entry.data);
            for (const std::string& label : damaged_)
                if (label == entry.label)
                    record.back() ^= 0x20;
            out += record;
        }
        return out + trailing_;
    }

    // The container as the delivered example lays it out: one file group, then
    // "executable32" and "parameters", then the tail and a certificate table after
    // zero bytes.
    static test_container delivered(const std::string& payload) {
        test_container c;
        c.file("installer32", "QZVPROSetup.exe", payload)
            .value("executable32", "%installer32%")
            .value("parameters", "/V\"USER_BRAND_NAME=\\\"Quorlin\\\" WEBINSTALLER=1\"")
            .tail()
            .trailing(std::string(3, '\0') + std::string(1500, 'c'));
        return c;
    }

private:
    void add(const std::string& label, std::string data) { records_.push_back({std::move(data), label}); }

    std::vector<record_entry> records_;
    std::vector<std::string> damaged_;
    std::string trailing_;
};

}  // namespace container_test
