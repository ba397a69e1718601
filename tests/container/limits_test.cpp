// The reader at the limits of the format: record lengths beyond the file or the format's
// limit wherever they stand in the chain, a tail text only in the file's last 22 bytes,
// and files too short to hold a container.
#include "container/memory_file_system.hpp"
#include "container/messages.hpp"
#include "container/reader.hpp"
#include "container/record_format.hpp"
#include "tests/common/recording_reporter.hpp"
#include "tests/container/test_container.hpp"

#include <gtest/gtest.h>

#include <functional>
#include <map>

namespace {

namespace format = container::record_format;
using container::memory_file_system;
using container_test::test_container;

const std::string installer_path = "installer.exe";
const std::string directory = "work\\";
const std::string payload = "setup program bytes";
const std::string parameters = "/V\"A=1\"";

// Records in file order, with the offset where each one ends, so that a test can change
// one record's length field after the digests were taken.
struct laid_out_chain {
    laid_out_chain() {
        add("stub image", test_container::fake_image());
        add("stub file name", std::string(format::stub_file_name));
        add("stub name", std::string(format::stub_name));
        add("stub kind", std::string(format::stub_kind));
        add("file data", payload);
        add("file file name", "QZVPROSetup.exe");
        add("file name", "installer32");
        add("file kind", std::string(format::file_kind));
        add("value", parameters);
        add("value name", "parameters");
        add("value kind", std::string(format::value_kind));
        add("tail", std::string(format::tail_text));
    }

    void add(const std::string& label, const std::string& data) {
        format::append_record(bytes, data);
        ends[label] = bytes.size();
    }

    // Puts `length` in the length field of the record with `label`.
    void set_length(const std::string& label, std::uint32_t length) {
        format::store_length(length, reinterpret_cast<unsigned char*>(&bytes[ends.at(label) - format::trailer_size]));
    }

    // The length that makes the record with `label` start exactly at the file's first byte.
    std::uint32_t length_to_file_start(const std::string& label) const {
        return static_cast<std::uint32_t>(ends.at(label) - format::trailer_size);
    }

    std::string bytes;
    std::map<std::string, std::size_t> ends;
};

struct extraction_result {
    testing_support::recording_reporter reporter;
    container::value_table values;
    container::extraction run{reporter, directory, values};
    memory_file_system files;
};

void extract(const std::string& installer, extraction_result& result) {
    result.files.put(installer_path, installer);
    container::extract_container(result.files, installer_path, result.run);
}

// One damaged length: which record carries it, the length, and what reading leaves.
struct length_case {
    const char* description;
    const char* record;
    std::function<std::uint32_t(const laid_out_chain&)> length;
    std::vector<std::string> captions;
    bool archive_valid;
    bool parameters_read;  // the value group behind the tail was read before the damage
};

void PrintTo(const length_case& c, std::ostream* out) { *out << c.description; }

class record_length : public testing::TestWithParam<length_case> {};

TEST_P(record_length, ends_the_reading_without_reading_outside_the_file) {
    const length_case& c = GetParam();
    laid_out_chain chain;
    chain.set_length(c.record, c.length(chain));
    extraction_result result;
    extract(chain.bytes, result);

    EXPECT_EQ(result.reporter.captions(), c.captions);
    EXPECT_EQ(result.run.archive_valid, c.archive_valid);
    EXPECT_FALSE(result.run.complete);
    EXPECT_EQ(result.values.find("parameters") != nullptr, c.parameters_read);
    EXPECT_EQ(result.values.find("installer32"), nullptr);
    EXPECT_EQ(result.files.file_count(), 1u) << "no stored file and no temporary copy";
    EXPECT_EQ(result.files.open_files(), 0u);
}

const auto fixed = [](std::uint32_t length) { return [length](const laid_out_chain&) { return length; }; };
const auto to_start = [](const char* record, std::uint32_t beyond) {
    return [record, beyond](const laid_out_chain& chain) { return chain.length_to_file_start(record) + beyond; };
};
const std::vector<std::string> no_message = {};
const std::vector<std::string> invalid_archive = {container::invalid_archive_caption};

INSTANTIATE_TEST_SUITE_P(
    limits, record_length,
    testing::Values(
        length_case{"0xFFFFFFFF right behind the tail", "value kind", fixed(0xFFFFFFFFu), no_message, true, false},
        length_case{"0xFFFFFFFF in a name", "value name", fixed(0xFFFFFFFFu), no_message, true, false},
        length_case{"0xFFFFFFFF in a value", "value", fixed(0xFFFFFFFFu), no_message, true, false},
        length_case{"0xFFFFFFFF in a payload", "file data", fixed(0xFFFFFFFFu), no_message, true, true},
        length_case{"2^31 in a payload", "file data", fixed(0x80000000u), no_message, true, true},
        length_case{"one above the format's limit in a payload", "file data", fixed(format::max_data_length + 1),
                    no_message, true, true},
        length_case{"one byte before the start of the file, behind the tail", "value kind",
                    to_start("value kind", 1), no_message, true, false},
        length_case{"one byte before the start of the file, in a payload", "file data", to_start("file data", 1),
                    no_message, true, true},
        length_case{"a thousand bytes before the start of the file, in a file name", "file file name",
                    to_start("file file name", 1000), no_message, true, true},
        // Reaching exactly to the first byte is a readable record; its digest then decides.
        length_case{"exactly to the start of the file, in a payload", "file data", to_start("file data", 0),
                    invalid_archive, false, true},
        length_case{"the tail's own length one byte before the start of the file", "tail", to_start("tail", 1),
                    no_message, false, false}),
    [](const testing::TestParamInfo<length_case>& info) { return "case_" + std::to_string(info.index); });

TEST(limits, a_tail_text_in_the_last_22_bytes_only_is_no_container) {
    // The backward search looks at windows that end before the last byte.
    const std::string image(500, 'i');
    const std::string installer = image + std::string(format::tail_text);
    extraction_result result;
    extract(installer, result);
    EXPECT_EQ(result.reporter.captions(), std::vector<std::string>{"Failed to initialize archive!"});
    EXPECT_FALSE(result.run.archive_valid);
    EXPECT_EQ(result.files.file_count(), 1u);
    EXPECT_EQ(result.files.open_files(), 0u);

    // One byte more behind it, and the text is found, but no record ends where its tail
    // record would end.
    extraction_result shifted;
    extract(installer + "x", shifted);
    EXPECT_TRUE(shifted.reporter.shown.empty());
    EXPECT_FALSE(shifted.run.archive_valid);
    EXPECT_EQ(shifted.files.file_count(), 1u);
}

// Files shorter than the smallest one in which the tail text can be found (23 bytes before
// it, one after): nothing is read, whatever the bytes are.
class short_file : public testing::TestWithParam<std::pair<const char*, std::string>> {};

TEST_P(short_file, is_no_container_at_any_length) {
    const std::string& source = GetParam().second;
    for (std::size_t size = 0; size < format::min_tail_offset + format::tail_text.size() + 1; ++size) {
        SCOPED_TRACE(std::to_string(size) + " bytes");
        const std::string installer = source.substr(source.size() - size);
        extraction_result result;
        extract(installer, result);
        EXPECT_EQ(result.reporter.captions(), std::vector<std::string>{"Failed to initialize archive!"});
        EXPECT_FALSE(result.run.archive_valid);
        EXPECT_FALSE(result.run.complete);
        EXPECT_EQ(result.values.find("parameters"), nullptr);
        EXPECT_EQ(result.files.file_count(), 1u);
        EXPECT_EQ(result.files.open_files(), 0u);
    }
}

INSTANTIATE_TEST_SUITE_P(
    limits, short_file,
    testing::Values(std::make_pair("zero_bytes", std::string(64, '\0')),
                    std::make_pair("end_of_an_installer", test_container::delivered(payload).trailing("").bytes()),
                    std::make_pair("tail_text_repeated", std::string(format::tail_text) + std::string(format::tail_text) +
                                                             std::string(format::tail_text))),
    [](const testing::TestParamInfo<std::pair<const char*, std::string>>& info) { return info.param.first; });

TEST(limits, the_smallest_file_with_a_findable_tail_text_reads_nothing) {
    const std::string installer = std::string(23, 'i') + std::string(format::tail_text) + "x";
    ASSERT_EQ(installer.size(), 46u);
    extraction_result result;
    extract(installer, result);
    EXPECT_TRUE(result.reporter.shown.empty()) << "the text is found; the record it would end is outside the file";
    EXPECT_FALSE(result.run.archive_valid);
    EXPECT_EQ(result.files.file_count(), 1u);
}

}  // namespace
