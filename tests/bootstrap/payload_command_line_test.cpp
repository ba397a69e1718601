// The setup program's command line, stage by stage and composed in the run's order:
// split, merge, expansion of the stored values, language prefix.
#include "bootstrap/payload_command_line.hpp"
#include "container/value_table.hpp"

#include <gtest/gtest.h>

#include <optional>
#include <string>

namespace {

using bootstrap::merge_parameters;
using bootstrap::prefix_language;
using bootstrap::split_command_text;

// The "parameters" value as this product's container stores it (backslashes included).
const char* const stored_parameters = R"(/V"USER_BRAND_NAME=\"Quorlin\" WEBINSTALLER=1")";

struct example {
    const char* label;
    std::string command_text;
    std::optional<std::string> stored;  // none: the container stores no "parameters"
    std::string language;               // empty: "InstallerLanguage" absent
    std::string commandline;
    std::string property_list;
    std::string launch_text;
};

void PrintTo(const example& e, std::ostream* os) { *os << e.label; }

struct composed {
    std::string commandline;
    std::string property_list;
    std::string launch_text;
};

// The run's steps 8, 10, 12 and 13 over a value table of its own.
composed compose(const example& e) {
    container::value_table values;
    if (e.stored)
        values["parameters"] = *e.stored;
    const auto split = split_command_text(e.command_text);
    values["commandline"] = split.commandline;
    values["parameters"] = merge_parameters(values["parameters"], split.property_list, values["commandline"]);
    const std::string launch = container::expand_values(values["parameters"], values);
    return {split.commandline, split.property_list, prefix_language(launch, e.language)};
}

class payload_command_line : public testing::TestWithParam<example> {};

TEST_P(payload_command_line, composes_the_launch_command_text) {
    const example& e = GetParam();
    const composed result = compose(e);
    EXPECT_EQ(result.commandline, e.commandline);
    EXPECT_EQ(result.property_list, e.property_list);
    EXPECT_EQ(result.launch_text, e.launch_text);
}

INSTANTIATE_TEST_SUITE_P(
    examples, payload_command_line,
    testing::Values(
        example{"empty", "", stored_parameters, "", "", "",
                R"( /V" USER_BRAND_NAME=\"Quorlin\" WEBINSTALLER=1")"},
        example{"empty_with_language", "", stored_parameters, "1033", "", "",
                R"(/L1033  /V" USER_BRAND_NAME=\"Quorlin\" WEBINSTALLER=1")"},
        example{"silent", "/s", stored_parameters, "", "/s", "",
                R"(/s /V" USER_BRAND_NAME=\"Quorlin\" WEBINSTALLER=1")"},
        example{"silent_with_language", "/s", stored_parameters, "1033", "/s", "",
                R"(/L1033 /s /V" USER_BRAND_NAME=\"Quorlin\" WEBINSTALLER=1")"},
        example{"quoted_properties", R"(/s /v"A=1 B=2")", stored_parameters, "", "/s ", "A=1 B=2",
                R"(/s  /V"A=1 B=2 USER_BRAND_NAME=\"Quorlin\" WEBINSTALLER=1")"},
        example{"unquoted_properties", "/vFOO=1 /x", stored_parameters, "", " /x", "FOO=1",
                R"( /x /V"FOO=1 USER_BRAND_NAME=\"Quorlin\" WEBINSTALLER=1")"},
        example{"language_given", "/L1031 /s", stored_parameters, "1033", "/L1031 /s", "",
                R"(/L1031 /s /V" USER_BRAND_NAME=\"Quorlin\" WEBINSTALLER=1")"},
        example{"stored_without_option", "", std::string("/qb"), "", "", "", R"( /qb/V"")"},
        example{"stored_unquoted_option", R"(/v"A=1")", std::string("/V/qn"), "", "", "A=1", R"( /V"A=1"/qn)"},
        example{"nothing_stored", "/s", std::nullopt, "", "/s", "", R"(/s /V"")"},
        example{"no_closing_quote", R"(/V"A=1)", stored_parameters, "", "", "A=1",
                R"( /V"A=1 USER_BRAND_NAME=\"Quorlin\" WEBINSTALLER=1")"}),
    [](const testing::TestParamInfo<example>& info) { return std::string(info.param.label); });

INSTANTIATE_TEST_SUITE_P(
    further_edges, payload_command_line,
    testing::Values(
        example{"verbose_is_an_option", "/VERBOSE", stored_parameters, "", "", "ERBOSE",
                R"( /V"ERBOSE USER_BRAND_NAME=\"Quorlin\" WEBINSTALLER=1")"},
        example{"path_holding_slash_v", "C:/Valid /s", stored_parameters, "", "C: /s", "alid",
                R"(C: /s /V"alid USER_BRAND_NAME=\"Quorlin\" WEBINSTALLER=1")"},
        example{"lower_case_v_stored", "", std::string(R"(/v"X=1")"), "", "", "", R"( /v"X=1"/V"")"},
        example{"lower_case_l_does_not_stop", "/l1031", stored_parameters, "1033", "/l1031", "",
                R"(/L1033 /l1031 /V" USER_BRAND_NAME=\"Quorlin\" WEBINSTALLER=1")"},
        example{"log_stops_the_prefix", "/LOG x.txt", stored_parameters, "1033", "/LOG x.txt", "",
                R"(/LOG x.txt /V" USER_BRAND_NAME=\"Quorlin\" WEBINSTALLER=1")"},
        example{"quoted_taken_over_earlier_unquoted", R"(/vA=1 /v"B=2" /x)", stored_parameters, "", "/vA=1  /x",
                "B=2", R"(/vA=1  /x /V"B=2 USER_BRAND_NAME=\"Quorlin\" WEBINSTALLER=1")"},
        example{"backslash_does_not_escape", R"(/v"A=\"B\"")", std::string("/V\"\""), "", R"(B\"")", R"(A=\)",
                R"(B\"" /V"A=\ ")"},
        example{"case_of_the_user_text_kept", R"(/V"Name=MiXed")", std::string("/qn"), "", "", "Name=MiXed",
                R"( /qn/V"Name=MiXed")"},
        example{"empty_stored_text", "", std::string(), "1033", "", "", R"(/L1033  /V"")"}),
    [](const testing::TestParamInfo<example>& info) { return std::string(info.param.label); });

// The prefix looks at the expanded text, so a "/L" that only a referenced value holds
// stops it too.
TEST(language_prefix, sees_references_expanded) {
    container::value_table values;
    values["extra"] = "/LOG log.txt ";
    values["parameters"] = merge_parameters("%extra%/V\"\"", "", "");
    const std::string launch = container::expand_values(values["parameters"], values);
    EXPECT_EQ(launch, " /LOG log.txt /V\" \"");
    EXPECT_EQ(prefix_language(launch, "1033"), launch);
}

TEST(language_prefix, empty_tag_adds_nothing) {
    EXPECT_EQ(prefix_language(" /V\"\"", ""), " /V\"\"");
    EXPECT_EQ(prefix_language("", "1033"), "/L1033 ");
}

TEST(split_command_text, keeps_embedded_zero_bytes) {
    const auto split = split_command_text(std::string("a\0b /v\"x\0y\" c", 13));
    EXPECT_EQ(split.commandline, std::string("a\0b  c", 6));
    EXPECT_EQ(split.property_list, std::string("x\0y", 3));
}

}  // namespace
