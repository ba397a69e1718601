// The listing walk behind list and verify, and its table and JSON forms.
#include "container/memory_file_system.hpp"
#include "container/reader.hpp"
#include "tests/common/recording_reporter.hpp"
#include "tests/container/test_container.hpp"
#include "tools/packer/inspect.hpp"
#include "tools/packer/text_output.hpp"

#include <gtest/gtest.h>

#include <sstream>

namespace {

using container_test::test_container;

tools::listing inspect(const std::string& installer) {
    container::memory_file_system files;
    files.put("installer.exe", installer);
    return tools::inspect_installer(files, "installer.exe", [](std::uint64_t) {});
}

std::string summary(const tools::listing& result) {
    std::string text;
    for (const tools::listed_group& group : result.groups)
        text += group.kind + ":" + group.name + ":" + group.file_name + ":" + std::to_string(group.size) + ":" +
                std::to_string(group.records) + (group.verified ? "" : ":bad") + " ";
    return text;
}

TEST(inspect, signed_delivered_layout_reads_thirteen_verified_records) {
    const tools::listing result = inspect(test_container::delivered("setup").damage("stub image").bytes());
    EXPECT_EQ(result.records_read, 13);
    EXPECT_EQ(result.records_verified, 13);
    EXPECT_TRUE(result.complete());
    EXPECT_EQ(summary(result),
              "tail:::22:1 value:parameters::46:3 value:executable32::13:3 file:installer32:QZVPROSetup.exe:5:4 "
              "stub:stub::0:2 ");
}

TEST(inspect, goes_on_past_a_damaged_payload) {
    const tools::listing result =
        inspect(test_container::delivered("setup").damage("file installer32 data").bytes());
    EXPECT_EQ(result.records_read, 13);
    EXPECT_EQ(result.records_verified, 12);
    EXPECT_TRUE(result.reached_stub);
    EXPECT_FALSE(result.complete());
    EXPECT_EQ(result.problems(), std::vector<std::string>{"file group \"installer32\": digest mismatch"});
}

TEST(inspect, reports_where_a_truncated_chain_stops) {
    const std::string image = test_container::fake_image();
    // Drop the stub group's last records: the walk fails before reaching it.
    test_container c;
    c.raw("not a record", "x").value("parameters", "p").tail();
    const tools::listing result = inspect(c.bytes().substr(image.size() + 20 + 30 + 24 + 24));
    EXPECT_FALSE(result.reached_stub);
    EXPECT_FALSE(result.complete());
    ASSERT_EQ(result.problems().size(), 1u);
    EXPECT_NE(result.problems()[0].find("cannot be read"), std::string::npos) << result.problems()[0];
}

TEST(inspect, flags_stored_names_the_reader_refuses) {
    test_container c;
    c.file("installer32", "..\\up.exe", "x").tail();
    const tools::listing result = inspect(c.bytes());
    EXPECT_EQ(result.records_verified, result.records_read);
    EXPECT_EQ(result.problems(),
              std::vector<std::string>{"file group \"installer32\": stored file name \"..\\up.exe\" is not a plain file name"});
}

TEST(inspect, a_record_ending_in_the_tail_text_after_the_tail_is_no_tail_record) {
    // The backward search finds the tail text at the end of the last record, which is then
    // read as an unknown kind with the real tail record as its name: every record verifies
    // and the stub is reached, but Reader.exe never meets a tail record and refuses it.
    test_container c;
    c.value("parameters", "p").tail().raw("appended", "appended data chunked-installer-tail");
    const tools::listing result = inspect(c.bytes());
    EXPECT_TRUE(result.reached_stub);
    EXPECT_EQ(result.records_verified, result.records_read);
    EXPECT_FALSE(result.complete());
    EXPECT_EQ(result.problems(),
              std::vector<std::string>{"no record read on the way is a tail record: Reader.exe would find the archive invalid"});

    container::memory_file_system files;
    files.put("installer.exe", c.bytes());
    testing_support::recording_reporter reporter;
    container::value_table values;
    container::extraction run{reporter, "work\\", values};
    container::extract_container(files, "installer.exe", run);
    EXPECT_TRUE(run.complete);
    EXPECT_FALSE(run.archive_valid) << "the verdict the listing must agree with";
}

TEST(inspect, file_without_container_says_so) {
    const tools::listing result = inspect(std::string(1000, 'x'));
    EXPECT_FALSE(result.tail_found);
    EXPECT_EQ(result.problems(), std::vector<std::string>{"no tail record found: this file holds no container"});
}

TEST(listing_output, table_and_json_of_a_damaged_installer) {
    test_container c;
    c.value("na\"me", "v\x01").damage("value na\"me value").tail();
    const tools::listing result = inspect(c.bytes());
    std::ostringstream table;
    tools::print_listing(table, result);
    EXPECT_EQ(table.str(),
              "kind   name   file name  size  digest\n"
              "tail                     22    ok\n"
              "value  na\"me             2     MISMATCH\n"
              "stub   stub              -     ok\n"
              "6 records read, 5 verified: the container does not read completely\n"
              "  value group \"na\"me\": digest mismatch\n");
    std::ostringstream json;
    tools::print_listing_json(json, "C:\\in.exe", result);
    EXPECT_EQ(json.str(),
              "{\"installer\": \"C:\\\\in.exe\", \"complete\": false, \"tail_found\": true, \"records_read\": 6, "
              "\"records_verified\": 5, \"groups\": [{\"kind\": \"tail\", \"size\": 22, \"records\": 1, \"digest_ok\": "
              "true}, {\"kind\": \"value\", \"name\": \"na\\\"me\", \"size\": 2, \"records\": 3, \"digest_ok\": false}, "
              "{\"kind\": \"stub\", \"name\": \"stub\", \"records\": 2, \"digest_ok\": true}], \"problems\": "
              "[\"value group \\\"na\\\"me\\\": digest mismatch\"]}\n");
}

TEST(listing_output, texts_are_escaped) {
    EXPECT_EQ(tools::printable("a\tb\x1b[2J"), "a\\x09b\\x1b[2J");
    EXPECT_EQ(tools::json_string("a\"\\\n\xe9"), "\"a\\\"\\\\\\u000a\\u00e9\"");
}

}  // namespace
