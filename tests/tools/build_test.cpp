// Building installers in memory: the layout, the round trip through the reader, and the
// refusals, none of which leaves an output or a partial file behind.
#include "container/memory_file_system.hpp"
#include "container/reader.hpp"
#include "container/record_format.hpp"
#include "tests/common/recording_reporter.hpp"
#include "tests/tools/pe_header.hpp"
#include "tools/packer/build.hpp"

#include <gtest/gtest.h>

#include <functional>
#include <sstream>

namespace {

namespace format = container::record_format;
using container::memory_file_system;

const std::string stub = tools_test::pe_image(0, 0) + "constant: chunked-installer-tail";
const std::string payload = std::string("payload\0bytes", 13);

struct build_fixture {
    build_fixture() {
        files.put("in/Reader.exe", stub);
        files.put("in/QZVPROSetup.exe", payload);
        files.put("in/readme.txt", "read me");
        request.stub_path = "in/Reader.exe";
        request.output_path = "out/installer.exe";
        request.groups = {{true, "installer32", "in/QZVPROSetup.exe", ""},
                          {false, "executable32", "%installer32%", ""},
                          {false, "parameters", "/V\"A=1\"", ""}};
    }

    bool build() { return tools::build_installer(request, files, err, false); }

    memory_file_system files;
    tools::build_request request;
    std::ostringstream err;
};

TEST(build, lays_out_stub_groups_in_order_and_tail) {
    build_fixture fixture;
    ASSERT_TRUE(fixture.build()) << fixture.err.str();
    std::string expected;
    for (const std::string& data : {stub, std::string("Reader.exe"), std::string("stub"), std::string("stub"), payload,
                                    std::string("QZVPROSetup.exe"), std::string("installer32"), std::string("file"),
                                    std::string("%installer32%"), std::string("executable32"), std::string("value"),
                                    std::string("/V\"A=1\""), std::string("parameters"), std::string("value"),
                                    std::string("chunked-installer-tail")})
        format::append_record(expected, data);
    EXPECT_EQ(fixture.files.contents("out/installer.exe"), expected);
    EXPECT_EQ(fixture.files.file_count(), 4u) << "no partial file stays";
    EXPECT_TRUE(fixture.err.str().empty());
}

TEST(build, gives_the_same_bytes_for_the_same_inputs_and_reads_back) {
    build_fixture fixture;
    fixture.request.groups.push_back({true, "", "in/readme.txt", "notes.txt"});
    ASSERT_TRUE(fixture.build());
    const auto first = fixture.files.contents("out/installer.exe");
    ASSERT_TRUE(fixture.build());
    EXPECT_EQ(fixture.files.contents("out/installer.exe"), first);

    testing_support::recording_reporter reporter;
    container::value_table values;
    container::extraction run{reporter, "work/", values};
    container::extract_container(fixture.files, "out/installer.exe", run);
    EXPECT_TRUE(run.archive_valid && run.complete);
    EXPECT_TRUE(reporter.shown.empty());
    EXPECT_EQ(fixture.files.contents("work/QZVPROSetup.exe"), payload);
    EXPECT_EQ(fixture.files.contents("work/notes.txt"), "read me");
    EXPECT_EQ(container::expand_values("%executable32%", values), "QZVPROSetup.exe");
}

TEST(build, accepts_a_stub_whose_pe_header_has_no_signature) {
    build_fixture fixture;
    fixture.files.put("in/Reader.exe", tools_test::pe_image(0, 0));
    EXPECT_TRUE(fixture.build()) << fixture.err.str();
}

struct refusal_case {
    const char* description;
    std::function<void(build_fixture&)> arrange;
    std::string message;  // part of what the refusal says
};

void PrintTo(const refusal_case& c, std::ostream* out) { *out << c.description; }

class build_refusal : public testing::TestWithParam<refusal_case> {};

TEST_P(build_refusal, says_why_and_leaves_the_old_output_untouched) {
    build_fixture fixture;
    fixture.files.put("out/installer.exe", "previous installer");
    GetParam().arrange(fixture);
    EXPECT_FALSE(fixture.build());
    EXPECT_NE(fixture.err.str().find(GetParam().message), std::string::npos) << fixture.err.str();
    EXPECT_EQ(fixture.files.contents("out/installer.exe"), "previous installer");
    EXPECT_FALSE(fixture.files.exists_file("out/installer.exe.partial"));
}

void file_named(build_fixture& f, const std::string& stored) { f.request.groups[0].file_name = stored; }

INSTANTIATE_TEST_SUITE_P(
    refusals, build_refusal,
    testing::Values(
        refusal_case{"stub already holds a container",
                     [](build_fixture& f) {
                         std::string installer = stub;
                         format::append_record(installer, "chunked-installer-tail");
                         f.files.put("in/Reader.exe", installer + "trailing");
                     },
                     "already holds a container"},
        refusal_case{"signed stub",
                     [](build_fixture& f) { f.files.put("in/Reader.exe", tools_test::pe_image(0x400, 0x500)); },
                     "Authenticode signature"},
        refusal_case{"stored name with a parent folder", [](build_fixture& f) { file_named(f, "..\\evil.exe"); },
                     "not a plain file name"},
        refusal_case{"stored name with a folder", [](build_fixture& f) { file_named(f, "sub/a.exe"); },
                     "not a plain file name"},
        refusal_case{"stored name with a drive", [](build_fixture& f) { file_named(f, "C:a.exe"); },
                     "not a plain file name"},
        refusal_case{"stored name of a device", [](build_fixture& f) { file_named(f, "NUL.exe"); },
                     "not a plain file name"},
        refusal_case{"path without a base name",
                     [](build_fixture& f) { f.request.groups[0].text = "in/"; }, "cannot read"},
        refusal_case{"two values of one name",
                     [](build_fixture& f) { f.request.groups.push_back({false, "parameters", "again", ""}); },
                     "name \"parameters\" is given twice"},
        refusal_case{"a value named like a file group",
                     [](build_fixture& f) { f.request.groups.push_back({false, "installer32", "x", ""}); },
                     "name \"installer32\" is given twice"},
        refusal_case{"two stored file names differing in case",
                     [](build_fixture& f) {
                         f.request.groups.push_back({true, "", "in/readme.txt", "qzvprosetup.EXE"});
                     },
                     "stored file name \"qzvprosetup.EXE\" is given twice"},
        refusal_case{"missing input file",
                     [](build_fixture& f) { f.request.groups.push_back({true, "more", "in/missing.bin", ""}); },
                     "cannot read \"in/missing.bin\""},
        refusal_case{"missing stub", [](build_fixture& f) { f.request.stub_path = "in/none.exe"; },
                     "cannot read \"in/none.exe\""},
        refusal_case{"input larger than a record",
                     [](build_fixture& f) { f.files.pretend_size("in/QZVPROSetup.exe", 0x80000000ull); },
                     "larger than a record can hold"},
        refusal_case{"installer of 4 GiB or more",
                     [](build_fixture& f) {
                         f.files.pretend_size("in/QZVPROSetup.exe", format::max_data_length);
                         f.files.put("in/second.bin", "");
                         f.files.pretend_size("in/second.bin", format::max_data_length);
                         f.request.groups.push_back({true, "second", "in/second.bin", ""});
                     },
                     "must stay below 4 GiB"},
        refusal_case{"output that cannot be fully written",
                     [](build_fixture& f) { f.files.limit_writes(100, 112); }, "cannot write the installer"},
        refusal_case{"output that cannot be renamed into place",
                     [](build_fixture& f) { f.files.fail_renames(5); }, "cannot rename"}),
    [](const testing::TestParamInfo<refusal_case>& info) { return "case_" + std::to_string(info.index); });

// The installer's size around 4 GiB: two file groups whose data sizes are made up.
class build_size_limit : public testing::TestWithParam<std::pair<std::int64_t, bool>> {};

TEST_P(build_size_limit, refuses_from_4_gib_on) {
    build_fixture fixture;
    fixture.files.put("in/second.bin", "");
    fixture.request.groups = {{true, "installer32", "in/QZVPROSetup.exe", ""}, {true, "b", "in/second.bin", ""}};
    const std::uint64_t fixed = (stub.size() + 20) + (10 + 20) + (4 + 20) + (4 + 20)  // stub group
                                + 20 + (15 + 20) + (11 + 20) + (4 + 20)              // first file group
                                + 20 + (10 + 20) + (1 + 20) + (4 + 20)               // second file group
                                + format::tail_record_size;
    const std::uint64_t second = format::max_file_size - fixed - format::max_data_length + GetParam().first;
    fixture.files.pretend_size("in/QZVPROSetup.exe", format::max_data_length);
    fixture.files.pretend_size("in/second.bin", second);
    // Nothing may be written either way: a size refusal comes first, else the write fails.
    fixture.files.limit_writes(0, 112);
    EXPECT_FALSE(fixture.build());
    EXPECT_EQ(fixture.err.str().find("must stay below 4 GiB") != std::string::npos, GetParam().second)
        << fixture.err.str();
}

INSTANTIATE_TEST_SUITE_P(around_4_gib, build_size_limit,
                         testing::Values(std::make_pair(std::int64_t{0}, false), std::make_pair(std::int64_t{1}, true)));

}  // namespace
