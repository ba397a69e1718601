// The container reader over files in memory: the delivered layout, the damage cases with
// the messages they show, and what stays on disk.
#include "container/memory_file_system.hpp"
#include "container/messages.hpp"
#include "container/reader.hpp"
#include "support/text/system_error_text.hpp"
#include "tests/common/recording_reporter.hpp"
#include "tests/container/test_container.hpp"

#include <gtest/gtest.h>

#include <functional>

namespace {

using container::memory_file_system;
using testing_support::recording_reporter;
using container_test::test_container;

const std::string installer_path = "C:\\installer.exe";
const std::string directory = "C:\\Temp\\QZV1\\";
const std::string payload = std::string("setup program\0with zero bytes", 29);
const std::string parameters = "/V\"USER_BRAND_NAME=\\\"Quorlin\\\" WEBINSTALLER=1\"";
const std::vector<std::string> invalid_archive = {container::invalid_archive_caption};

// One extraction from an installer file in memory, with the run's own values in place.
struct extraction_fixture {
    explicit extraction_fixture(const std::string& installer) {
        files.put(installer_path, installer);
        values["source"] = "C:\\Temp\\QZV1";
        values["commandline"] = "/s";
    }

    container::extraction& run() {
        container::extract_container(files, installer_path, extraction);
        return extraction;
    }

    // The files that extraction left in the working directory, by name.
    std::map<std::string, std::string> extracted() const {
        std::map<std::string, std::string> result;
        for (const std::string& name : candidates)
            if (auto bytes = files.contents(directory + name))
                result[name] = *bytes;
        return result;
    }

    // Every file besides the installer: nothing else may appear.
    std::size_t other_files() const { return files.file_count() - 1; }

    memory_file_system files;
    recording_reporter reporter;
    container::value_table values;
    container::extraction extraction{reporter, directory, values};
    std::vector<std::string> candidates = {"QZVPROSetup.exe", "other.exe", "empty.dat"};
};

TEST(reader, reads_the_delivered_layout_with_a_signed_stub) {
    // Signing changes the image after its digest was taken; that record is never read.
    extraction_fixture fixture(test_container::delivered(payload).damage("stub image").bytes());
    const container::extraction& run = fixture.run();

    EXPECT_TRUE(run.archive_valid);
    EXPECT_TRUE(run.complete);
    EXPECT_TRUE(fixture.reporter.shown.empty());
    EXPECT_EQ(*fixture.values.find("parameters"), parameters);
    EXPECT_EQ(*fixture.values.find("executable32"), "%installer32%");
    EXPECT_EQ(*fixture.values.find("installer32"), "QZVPROSetup.exe");
    EXPECT_EQ(container::expand_values("%executable32%", fixture.values), "QZVPROSetup.exe");
    EXPECT_EQ(fixture.extracted(), (std::map<std::string, std::string>{{"QZVPROSetup.exe", payload}}));
    EXPECT_EQ(fixture.other_files(), 1u);
    EXPECT_EQ(fixture.files.open_files(), 0u);
}

TEST(reader, reads_the_same_without_anything_after_the_tail) {
    extraction_fixture fixture(test_container::delivered(payload).trailing("").bytes());
    const container::extraction& run = fixture.run();
    EXPECT_TRUE(run.archive_valid);
    EXPECT_TRUE(run.complete);
    EXPECT_TRUE(fixture.reporter.shown.empty());
    EXPECT_EQ(fixture.extracted(), (std::map<std::string, std::string>{{"QZVPROSetup.exe", payload}}));
}

TEST(reader, stub_group_file_name_and_image_are_never_read) {
    extraction_fixture fixture(
        test_container::delivered(payload).damage("stub image").damage("stub file name").bytes());
    EXPECT_TRUE(fixture.run().archive_valid);
    EXPECT_TRUE(fixture.reporter.shown.empty());
}

// One damage case: the installer, then what the reader must leave behind.
struct damage_case {
    const char* description;
    std::function<std::string()> installer;
    std::vector<std::string> captions;
    bool archive_valid;
    bool complete;
    std::map<std::string, std::string> values;  // besides "source" and "commandline"
    std::map<std::string, std::string> files;
};

void PrintTo(const damage_case& c, std::ostream* out) { *out << c.description; }

class reader_damage : public testing::TestWithParam<damage_case> {};

TEST_P(reader_damage, leaves_the_expected_values_files_and_messages) {
    extraction_fixture fixture(GetParam().installer());
    const container::extraction& run = fixture.run();

    EXPECT_EQ(fixture.reporter.captions(), GetParam().captions);
    EXPECT_EQ(run.archive_valid, GetParam().archive_valid);
    EXPECT_EQ(run.complete, GetParam().complete);
    std::map<std::string, std::string> expected_values = GetParam().values;
    expected_values.emplace("source", "C:\\Temp\\QZV1");
    expected_values.emplace("commandline", "/s");
    std::map<std::string, std::string> values;
    for (const char* name : {"source", "commandline", "parameters", "executable32", "installer32", "other",
                                    "", "file", "stub"})
        if (const std::string* value = fixture.values.find(name))
            values[name] = *value;
    EXPECT_EQ(values, expected_values);
    EXPECT_EQ(fixture.extracted(), GetParam().files);
    EXPECT_EQ(fixture.other_files(), GetParam().files.size()) << "no partial or temporary file stays";
    EXPECT_EQ(fixture.files.open_files(), 0u);
}

const std::map<std::string, std::string> all_values = {
    {"parameters", parameters}, {"executable32", "%installer32%"}, {"installer32", "QZVPROSetup.exe"}};
const std::map<std::string, std::string> payload_file = {{"QZVPROSetup.exe", payload}};

// A record placed right behind the tail whose length field says `length`.
std::string record_with_length(std::uint32_t length) {
    std::string record = container::record_format::make_record("kind");
    container::record_format::store_length(length, reinterpret_cast<unsigned char*>(&record[4]));
    return test_container::fake_image() + record + container::record_format::make_record("chunked-installer-tail");
}

INSTANTIATE_TEST_SUITE_P(
    damage_cases, reader_damage,
    testing::Values(
        damage_case{"tail digest damaged",
                    [] { return test_container::delivered(payload).damage("tail").bytes(); },
                    invalid_archive, false, false, {}, {}},
        damage_case{"payload data damaged",
                    [] { return test_container::delivered(payload).damage("file installer32 data").bytes(); },
                    invalid_archive,
                    false,
                    false,
                    {{"parameters", parameters}, {"executable32", "%installer32%"}},
                    {}},
        damage_case{"payload file name damaged",
                    [] { return test_container::delivered(payload).damage("file installer32 file name").bytes(); },
                    invalid_archive,
                    false,
                    false,
                    {{"parameters", parameters}, {"executable32", "%installer32%"}},
                    {}},
        damage_case{"truncated inside the payload record",
                    [] {
                        const std::string whole = test_container::delivered(payload).bytes();
                        // Cut behind the tail, both value groups, three file group records
                        // and half the payload's trailer.
                        return whole.substr(0, whole.size() - 1503 - 42 - 211 - 90 - 10);
                    },
                    {}, false, false, {}, {}},
        damage_case{"no container behind the image", [] { return test_container::fake_image(); }, {}, false,
                    false, {}, {}},
        damage_case{"unknown kind with two records is skipped",
                    [] {
                        test_container c;
                        c.file("installer32", "QZVPROSetup.exe", payload)
                            .raw("unknown name", "other")
                            .raw("unknown kind", "later")
                            .value("executable32", "%installer32%")
                            .value("parameters", parameters)
                            .tail();
                        return c.bytes();
                    },
                    {}, true, true, all_values, payload_file},
        damage_case{"unknown kind with three records misreads the third as a kind",
                    [] {
                        test_container c;
                        c.file("installer32", "QZVPROSetup.exe", payload)
                            .raw("unknown content", "value")
                            .raw("unknown name", "other")
                            .raw("unknown kind", "later")
                            .value("parameters", parameters)
                            .tail();
                        return c.bytes();
                    },
                    {},
                    true,
                    true,
                    // "value" is taken as a kind, the file group's kind "file" as its name
                    // and "installer32" as its value; then the stored file name and the
                    // data are taken as an unknown kind and its name.
                    {{"parameters", parameters}, {"file", "installer32"}},
                    {}},
        damage_case{"second tail in the middle",
                    [] {
                        test_container c;
                        c.file("installer32", "QZVPROSetup.exe", payload)
                            .tail()
                            .value("executable32", "%installer32%")
                            .value("parameters", parameters)
                            .tail();
                        return c.bytes();
                    },
                    {}, true, true, all_values, payload_file},
        damage_case{"a second tail after a damaged record does not revive the archive",
                    [] {
                        test_container c;
                        c.file("installer32", "QZVPROSetup.exe", payload)
                            .tail()
                            .value("parameters", parameters)
                            .damage("value parameters value")
                            .tail();
                        return c.bytes();
                    },
                    invalid_archive, false, false, {}, {}},
        damage_case{"two value groups with the same name: the one nearer the end wins",
                    [] {
                        test_container c;
                        c.value("parameters", "nearer the start").value("parameters", parameters).tail();
                        return c.bytes();
                    },
                    {}, true, true, {{"parameters", parameters}}, {}},
        damage_case{"stored values cannot replace the run's own",
                    [] {
                        test_container c;
                        c.value("source", "D:\\elsewhere").value("commandline", "/other").tail();
                        return c.bytes();
                    },
                    {}, true, true, {}, {}},
        damage_case{"file group with an empty name writes its file and adds no value",
                    [] {
                        test_container c;
                        c.file("", "QZVPROSetup.exe", payload).tail();
                        return c.bytes();
                    },
                    {}, true, true, {}, payload_file},
        damage_case{"file group with empty data creates an empty file",
                    [] {
                        test_container c;
                        c.file("other", "empty.dat", "").tail();
                        return c.bytes();
                    },
                    {}, true, true, {{"other", "empty.dat"}}, {{"empty.dat", ""}}},
        damage_case{"damaged empty record",
                    [] {
                        test_container c;
                        c.file("other", "empty.dat", "").damage("file other data").tail();
                        return c.bytes();
                    },
                    invalid_archive, false, false, {}, {}},
        damage_case{"two file groups with one file name: the one nearer the start stays on disk",
                    [] {
                        test_container c;
                        c.file("other", "QZVPROSetup.exe", payload).file("installer32", "QZVPROSetup.exe", "later").tail();
                        return c.bytes();
                    },
                    {},
                    true,
                    true,
                    {{"installer32", "QZVPROSetup.exe"}, {"other", "QZVPROSetup.exe"}},
                    payload_file},
        damage_case{"length behind the tail reaches before the start of the file",
                    [] { return record_with_length(0x7ffffff0u); }, {}, true, false, {}, {}},
        damage_case{"length behind the tail is beyond the format's limit",
                    [] { return record_with_length(0xfffffff0u); }, {}, true, false, {}, {}},
        damage_case{"tail text ending one byte before the end is taken and reads nothing",
                    [] { return test_container::delivered(payload).trailing("").bytes() + "chunked-installer-tail!"; },
                    {}, false, false, {}, {}},
        damage_case{"tail text ending at the last byte is not taken",
                    [] { return test_container::delivered(payload).trailing("").bytes() + "chunked-installer-tail"; },
                    {}, true, true, all_values, payload_file}),
    [](const testing::TestParamInfo<damage_case>& info) { return "case_" + std::to_string(info.index); });

// Stored file names that could reach outside the working directory or name a device.
class reader_hostile_name : public testing::TestWithParam<std::string> {};

TEST_P(reader_hostile_name, is_refused_as_a_file_that_cannot_be_created) {
    test_container c;
    c.value("other", "read later, so never").file("installer32", GetParam(), payload).value("parameters", parameters).tail();
    extraction_fixture fixture(c.bytes());
    const container::extraction& run = fixture.run();

    ASSERT_EQ(fixture.reporter.shown.size(), 1u);
    EXPECT_EQ(fixture.reporter.shown[0].first, "Failed to extract file!");
    EXPECT_EQ(fixture.reporter.shown[0].second,
              "File: " + directory + GetParam() + "\rError: " +
                  replay::system_error_text(memory_file_system::invalid_name));
    EXPECT_TRUE(run.archive_valid);
    EXPECT_FALSE(run.complete);
    EXPECT_EQ(fixture.values.find("installer32"), nullptr) << "a refused name is no value either";
    EXPECT_EQ(fixture.values.find("other"), nullptr) << "reading stops";
    EXPECT_EQ(fixture.other_files(), 0u);
}

INSTANTIATE_TEST_SUITE_P(names, reader_hostile_name,
                         testing::Values("", ".", "..", "..\\evil.exe", "../evil.exe", "sub\\a.exe", "C:evil.exe",
                                         "C:\\evil.exe", "\\evil.exe", "/evil.exe", "a.exe:stream", "CON", "nul.txt",
                                         "com1.log", "a?.exe", "a*", "tab\t.exe", "dot.", "blank "));

TEST(reader, missing_installer_file_shows_the_open_failure) {
    extraction_fixture fixture("");
    container::extract_container(fixture.files, "C:\\missing.exe", fixture.extraction);
    ASSERT_EQ(fixture.reporter.shown.size(), 1u);
    EXPECT_EQ(fixture.reporter.shown[0].first, "Failed to open archive!");
    EXPECT_EQ(fixture.reporter.shown[0].second,
              "File: C:\\missing.exe\rError: " + replay::system_error_text(memory_file_system::not_found));
    EXPECT_FALSE(fixture.extraction.archive_valid);
}

TEST(reader, file_without_the_tail_text_shows_the_initialisation_failure) {
    extraction_fixture fixture(std::string(5000, 'x'));
    fixture.run();
    ASSERT_EQ(fixture.reporter.shown.size(), 1u);
    EXPECT_EQ(fixture.reporter.shown[0].first, "Failed to initialize archive!");
    EXPECT_EQ(fixture.reporter.shown[0].second.rfind("File: " + installer_path + "\rError: ", 0), 0u);
    EXPECT_FALSE(fixture.extraction.archive_valid);
    EXPECT_EQ(fixture.files.open_files(), 0u);
}

TEST(reader, failed_write_removes_the_partial_file_and_stops) {
    constexpr std::uint32_t disk_full = 112;
    test_container c;
    c.value("other", "read later, so never").file("installer32", "QZVPROSetup.exe", payload).tail();
    extraction_fixture fixture(c.bytes());
    fixture.files.limit_writes(10, disk_full);
    const container::extraction& run = fixture.run();

    ASSERT_EQ(fixture.reporter.shown.size(), 1u);
    EXPECT_EQ(fixture.reporter.shown[0].first, "Failed to extract file!");
    EXPECT_EQ(fixture.reporter.shown[0].second,
              "File: " + directory + "QZVPROSetup.exe\rError: " + replay::system_error_text(disk_full));
    EXPECT_TRUE(run.archive_valid);
    EXPECT_FALSE(run.complete);
    EXPECT_EQ(fixture.other_files(), 0u);
    EXPECT_EQ(fixture.values.find("other"), nullptr);
}

TEST(reader, failed_create_shows_the_output_path_and_stops) {
    constexpr std::uint32_t access_denied = 5;
    extraction_fixture fixture(test_container::delivered(payload).bytes());
    fixture.files.fail_all_creates(access_denied);
    const container::extraction& run = fixture.run();

    ASSERT_EQ(fixture.reporter.shown.size(), 1u);
    EXPECT_EQ(fixture.reporter.shown[0].first, "Failed to extract file!");
    EXPECT_EQ(fixture.reporter.shown[0].second,
              "File: " + directory + "QZVPROSetup.exe\rError: " + replay::system_error_text(access_denied));
    EXPECT_TRUE(run.archive_valid);
    EXPECT_EQ(fixture.other_files(), 0u);
}

TEST(reader, failed_rename_leaves_no_temporary_file) {
    constexpr std::uint32_t access_denied = 5;
    extraction_fixture fixture(test_container::delivered(payload).bytes());
    fixture.files.fail_renames(access_denied);
    fixture.run();
    EXPECT_EQ(fixture.reporter.captions(), std::vector<std::string>{"Failed to extract file!"});
    EXPECT_EQ(fixture.other_files(), 0u);
}

TEST(reader, a_stored_file_named_like_a_temporary_file_is_not_overwritten) {
    test_container c;
    c.file("second", "other.exe", "second").file("first", "~extracting0.tmp", "first").tail();
    extraction_fixture fixture(c.bytes());
    fixture.candidates.push_back("~extracting0.tmp");
    fixture.run();
    EXPECT_TRUE(fixture.reporter.shown.empty());
    EXPECT_EQ(fixture.extracted(),
              (std::map<std::string, std::string>{{"~extracting0.tmp", "first"}, {"other.exe", "second"}}));
    EXPECT_EQ(fixture.other_files(), 2u);
}

TEST(reader, held_files_cannot_be_replaced_until_released) {
    test_container c;
    c.file("other", "QZVPROSetup.exe", payload).file("installer32", "QZVPROSetup.exe", "replaced by the earlier group").tail();
    extraction_fixture fixture(c.bytes());
    fixture.extraction.hold_files = true;
    const container::extraction& run = fixture.run();
    EXPECT_TRUE(fixture.reporter.shown.empty());
    EXPECT_TRUE(run.complete);
    EXPECT_EQ(fixture.extracted(), payload_file);

    const std::string path = directory + "QZVPROSetup.exe";
    EXPECT_EQ(fixture.files.create(path, container::create_mode::replace), nullptr);
    EXPECT_FALSE(fixture.files.remove(path));
    EXPECT_FALSE(fixture.files.rename(installer_path, path));
    fixture.extraction.release_files();
    EXPECT_EQ(fixture.files.open_files(), 0u);
    EXPECT_TRUE(fixture.files.remove(path));
}

}  // namespace
