// Lookups over the code page catalogue: names in any spelling to numbers, numbers to
// canonical names, and the catalogue's own edge cases.
#include "support/codepage/catalogue.hpp"
#include "support/exceptions/unicode_errors.hpp"

#include <gtest/gtest.h>

#include <cstdint>
#include <optional>
#include <string>

namespace {

namespace cp = replay::codepage;

struct key_case {
    const char* name;
    const char* key;
};

class key_form : public testing::TestWithParam<key_case> {};

TEST_P(key_form, lowers_letters_and_drops_everything_else) {
    EXPECT_EQ(cp::key_form(GetParam().name), GetParam().key) << GetParam().name;
}

INSTANTIATE_TEST_SUITE_P(
    cases, key_form,
    testing::Values(key_case{"iso-8859-8-i", "iso88598i"}, key_case{"ISO_8859-8-I", "iso88598i"},
                    key_case{"x-Chinese_CNS", "xchinesecns"}, key_case{" Shift JIS. ", "shiftjis"},
                    key_case{"utf-8", "utf8"}, key_case{"caf\xC3\xA9-1", "caf1"},
                    key_case{"-_-", ""}, key_case{"", ""}));

struct name_case {
    const char* name;
    std::int32_t codepage;
};

class find_codepage : public testing::TestWithParam<name_case> {};

TEST_P(find_codepage, gives_the_code_page_of_a_name_in_any_spelling) {
    EXPECT_EQ(cp::find_codepage(GetParam().name), std::optional<std::int32_t>(GetParam().codepage))
        << GetParam().name;
}

INSTANTIATE_TEST_SUITE_P(
    alias_table, find_codepage,
    testing::Values(
        // Aliases that point at a neighbouring code page rather than the one their name
        // suggests: they are taken as the alias table gives them.
        name_case{"isoir6", 1252}, name_case{"ISO-IR-100", 1252}, name_case{"iso646-us", 1252},
        name_case{"iso-ir-148", 1254}, name_case{"ISO-2022-JP", 50221},
        name_case{"iso2022jp", 50221}, name_case{"x-mac-chinesesimp", 52936},
        name_case{"EUC-JP", 51932},
        // Hebrew in logical and visual order.
        name_case{"logical", 38598}, name_case{"Visual", 28598}, name_case{"iso-8859-8-i", 38598},
        name_case{"Shift_JIS", 932}, name_case{"KS_C_5601-1987", 949}, name_case{"UTF-8", 65001},
        name_case{"unicode-2-0-utf-7", 65000}, name_case{"x-iscii-pa", 57011},
        // The ASCII names carry -1 in the table and give "us-ascii" to a caller.
        name_case{"ascii", 20127}, name_case{"US-ASCII", 20127}, name_case{"us_ascii", 20127}));

INSTANTIATE_TEST_SUITE_P(
    canonical_names, find_codepage,
    testing::Values(name_case{"windows-1252", 1252}, name_case{"IBM037", 37},
                    name_case{"ibm037", 37}, name_case{"iso-8859-1", 28591},
                    name_case{"ISO-8859-9", 28599}, name_case{"x-cp20936", 20936},
                    name_case{"x_cp_50227", 50227}, name_case{"utf-16", 1200},
                    name_case{"unicodeFFFE", 1201}, name_case{"x-Chinese-CNS", 20000},
                    name_case{"hz-gb-2312", 52936}, name_case{"csISO2022JP", 50221}));

INSTANTIATE_TEST_SUITE_P(
    numbered_stems, find_codepage,
    testing::Values(name_case{"cp1252", 1252}, name_case{"CP-437", 437},
                    name_case{"ibm-850", 850}, name_case{"IBM00858", 858},
                    name_case{"dos-437", 437}, name_case{"windows 874", 874},
                    name_case{"ISO_8859-15", 28605}, name_case{"iso8859-13", 28603},
                    name_case{"latin1", 28591}, name_case{"Latin-2", 28592},
                    name_case{"latin5", 28599}, name_case{"latin7", 28603},
                    name_case{"latin9", 28605}, name_case{"csISOLatin4", 28594}));

class unknown_name : public testing::TestWithParam<const char*> {};

TEST_P(unknown_name, gives_nothing) {
    EXPECT_EQ(cp::find_codepage(GetParam()), std::nullopt) << GetParam();
}

INSTANTIATE_TEST_SUITE_P(
    cases, unknown_name,
    testing::Values("", "--", "klingon", "windows", "cp", "cp1234", "cp99999999999999999999",
                    "iso-8859-11", "iso8859", "latin6", "latin", "csisolatin8",
                    "windows-1252x", "x-mac"));

TEST(find_name, gives_the_canonical_spelling) {
    ASSERT_NE(cp::find_name(50220), nullptr);
    EXPECT_EQ(*cp::find_name(50220), "iso-2022-jp");
    EXPECT_EQ(*cp::find_name(50222), "iso-2022-jp");
    EXPECT_EQ(*cp::find_name(50221), "csISO2022JP");
    EXPECT_EQ(*cp::find_name(10008), "x-mac-chinesesimp");
    EXPECT_EQ(*cp::find_name(37), "IBM037");
    EXPECT_EQ(cp::find_name(cp::find_codepage("logical").value()), &cp::names().at(38598));
}

TEST(find_name, misses_for_numbers_outside_the_table) {
    for (std::int32_t codepage : {-1, 0, 1, 42, 28590, 50229, 65002})
        EXPECT_EQ(cp::find_name(codepage), nullptr) << codepage;
}

TEST(canonical_name, gives_the_name_of_every_listed_number) {
    EXPECT_EQ(cp::canonical_name(1252), "windows-1252");
    EXPECT_EQ(&cp::canonical_name(20127), cp::find_name(20127));
    EXPECT_EQ(cp::canonical_name(cp::find_codepage("usascii").value()), "us-ascii");
}

class unsupported_codepage : public testing::TestWithParam<std::int32_t> {};

TEST_P(unsupported_codepage, is_an_invalid_codepage_error_naming_the_number) {
    const std::int32_t codepage = GetParam();
    try {
        cp::canonical_name(codepage);
        ADD_FAILURE() << "no error for " << codepage;
    } catch (const replay::unicode::invalid_codepage& error) {
        const std::string message = "codepage " + std::to_string(codepage) + " is not supported";
        EXPECT_EQ(error.message(), message);
        EXPECT_EQ(std::string(error.what()), "unicode.invalid_codepage[" + message + "]");
    }
}

INSTANTIATE_TEST_SUITE_P(cases, unsupported_codepage,
                         testing::Values(-1, 0, 42, 28590, 50229, 65002, -2147483647 - 1));

}  // namespace
