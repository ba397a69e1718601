// The value table's add, subscript and find, and %name% expansion on the worked examples
// and edge cases of the format, including values that refer to themselves.
#include "container/value_table.hpp"

#include <gtest/gtest.h>

namespace {

using container::expand_values;
using container::value_table;

TEST(value_table, add_keeps_an_existing_entry) {
    value_table values;
    EXPECT_TRUE(values.add("source", "C:\\Temp\\QZV1"));
    EXPECT_FALSE(values.add("source", "from the container"));
    EXPECT_EQ(*values.find("source"), "C:\\Temp\\QZV1");
}

TEST(value_table, subscript_creates_an_empty_entry_and_find_never_does) {
    value_table values;
    EXPECT_EQ(values.find("parameters"), nullptr);
    EXPECT_EQ(values["parameters"], "");
    ASSERT_NE(values.find("parameters"), nullptr);
    values["parameters"] = "/V";
    EXPECT_EQ(*values.find("parameters"), "/V");
    EXPECT_FALSE(values.add("parameters", "other"));
}

TEST(value_table, names_are_compared_byte_for_byte) {
    value_table values;
    values.add("Name", "upper");
    values.add("name", "lower");
    values.add(std::string("n\0x", 3), "with zero");
    EXPECT_EQ(*values.find("Name"), "upper");
    EXPECT_EQ(*values.find("name"), "lower");
    EXPECT_EQ(*values.find(std::string("n\0x", 3)), "with zero");
    EXPECT_EQ(values.find("n"), nullptr);
}

struct expansion_case {
    const char* description;
    std::string text;
    std::string expected;
};

void PrintTo(const expansion_case& c, std::ostream* out) { *out << c.description; }

class expansion : public testing::TestWithParam<expansion_case> {
protected:
    static value_table table() {
        value_table values;
        values.add("installer32", "QZVPROSetup.exe");
        values.add("executable32", "%installer32%");
        values.add("a", "x%b%y");
        values.add("b", "B");
        values.add("empty", "");
        values.add("with space", "S");
        values.add("self", "<%self%>");
        values.add("ping", "1%pong%");
        values.add("pong", "2%ping%");
        values.add("twice", "%b%%b%");
        return values;
    }
};

TEST_P(expansion, gives_the_expected_text) {
    const value_table values = table();
    const std::string input = GetParam().text;
    EXPECT_EQ(expand_values(input, values), GetParam().expected);
    EXPECT_EQ(input, GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(
    worked_example_and_edge_cases, expansion,
    testing::Values(
        expansion_case{"no percent sign", "plain text", "plain text"},
        expansion_case{"empty text", "", ""},
        expansion_case{"a reference", "%installer32%", "QZVPROSetup.exe"},
        expansion_case{"a reference through a reference", "%executable32%", "QZVPROSetup.exe"},
        expansion_case{"a rejected candidate closes into the next", "50% off %installer32%",
                       "50% off QZVPROSetup.exe"},
        expansion_case{"a run of percent signs opens with its last", "%%installer32%", "%QZVPROSetup.exe"},
        expansion_case{"a missing name stays", "%nothing%", "%nothing%"},
        expansion_case{"a value is expanded before it is inserted", "%a%", "xBy"},
        expansion_case{"an empty value removes the reference", "[%empty%]", "[]"},
        expansion_case{"two references side by side", "%a%%b%", "xByB"},
        expansion_case{"a missing name before a present one", "%missing%%b%", "%missing%B"},
        expansion_case{"a trailing percent sign stays", "%b%%", "B%"},
        expansion_case{"a lone percent sign stays", "%", "%"},
        expansion_case{"percent signs only", "%%%", "%%%"},
        expansion_case{"names may hold blanks", "%with space%", "S"},
        expansion_case{"names are case-sensitive", "%B%", "%B%"},
        expansion_case{"inserted text is not scanned again", "%twice%", "BB"},
        expansion_case{"text after a reference is scanned", "%b%-%b%-%nothing%", "B-B-%nothing%"},
        expansion_case{"a value that refers to itself", "%self%", "<%self%>"},
        expansion_case{"two values that refer to each other", "%ping%", "12%ping%"},
        expansion_case{"a reference to itself stays open for the text after it", "%self%%b%", "<%self%>B"}),
    [](const testing::TestParamInfo<expansion_case>& info) { return "case_" + std::to_string(info.index); });

TEST(expansion_of_self_references, ends_on_a_long_cycle) {
    // A chain of 40 values where the last one refers back to the first.
    value_table values;
    for (int n = 0; n < 40; ++n)
        values.add("v" + std::to_string(n), "%v" + std::to_string((n + 1) % 40) + "%.");
    const std::string expanded = expand_values("%v0%", values);
    EXPECT_EQ(expanded, "%v0%" + std::string(40, '.'));
}

}  // namespace
