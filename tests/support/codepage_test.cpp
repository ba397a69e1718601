// The code page catalogue's two tables, checked row by row against the catalogue's
// published lists, which are written out here as data.
#include "support/codepage/catalogue.hpp"

#include <gtest/gtest.h>

#include <cstdint>
#include <map>
#include <string>
#include <utility>
#include <vector>

namespace {

namespace cp = replay::codepage;

// The alias table as published: every key, grouped by the code page it gives.
const std::vector<std::pair<std::int32_t, std::vector<std::string>>> published_aliases{
    {-1, {"ascii", "usascii"}},
    {708, {"asmo708"}},
    {874, {"tis620"}},
    {932, {"csshiftjis", "cswindows31j", "mskanji", "shiftjis", "xsjis"}},
    {936, {"csgb2312", "csgb231280", "csiso58gb231280", "cngb", "gbk", "gb2312", "gb231280",
          "isoir58"}},
    {949, {"ksc5601", "ksc56011987", "csksc5601", "csksc56011987", "isoir149", "korean"}},
    {950, {"big5", "cnbig5", "csbig5", "xxbig5"}},
    {1252, {"isoir6", "isoir100", "iso646us"}},
    {1254, {"isoir148"}},
    {1361, {"johab"}},
    {10000, {"macintosh"}},
    {10001, {"xmacjapanese"}},
    {10002, {"xmacchinesetrad"}},
    {10003, {"xmackorean"}},
    {10004, {"xmacarabic"}},
    {10005, {"xmachebrew"}},
    {10006, {"xmacgreek"}},
    {10007, {"xmaccyrillic"}},
    {10029, {"xmacce"}},
    {10079, {"xmacicelandic"}},
    {20000, {"xchinesecns"}},
    {20002, {"xchineseeten"}},
    {20106, {"xia5german"}},
    {20107, {"xia5swedish"}},
    {20108, {"xia5norwegian"}},
    {20866, {"koi", "koi8", "koi8r"}},
    {21866, {"koi8u", "koi8ru"}},
    {28592, {"isoir101"}},
    {28594, {"isoir110"}},
    {28595, {"csisolatincyrillic", "cyrillic", "isoir144"}},
    {28596, {"arabic", "csisolatinarabic", "ecma114", "isoir127"}},
    {28597, {"csisolatingreek", "ecma118", "elot928", "greek", "greek8", "isoir126"}},
    {28598, {"csisolatinhebrew", "hebrew", "isoir138", "visual"}},
    {29001, {"xeuropa"}},
    {38598, {"iso88598i", "logical"}},
    {50221, {"csiso2022jp", "iso2022jp"}},
    {51932, {"eucjp", "cseucjp", "xeucjp"}},
    {51936, {"euccn", "cseuccn", "xeuccn"}},
    {51949, {"euckr", "cseuckr", "xcseuckr"}},
    {52936, {"hzgb2312", "xmacchinesesimp"}},
    {54936, {"gb18030"}},
    {57002, {"xisciide"}},
    {57003, {"xisciibe"}},
    {57004, {"xisciita"}},
    {57005, {"xisciite"}},
    {57006, {"xisciias"}},
    {57007, {"xisciior"}},
    {57008, {"xisciika"}},
    {57009, {"xisciima"}},
    {57010, {"xisciigu"}},
    {57011, {"xisciipa"}},
    {65000, {"utf7", "unicode11utf7", "unicode20utf7"}},
    {65001, {"utf8", "unicode11utf8", "unicode20utf8"}},
};

// The name table as published, four entries a line in ascending order.
const std::vector<std::pair<std::int32_t, std::string>> published_names{
    {37, "IBM037"}, {437, "IBM437"}, {500, "IBM500"}, {708, "ASMO-708"},
    {720, "DOS-720"}, {737, "ibm737"}, {775, "ibm775"}, {850, "ibm850"},
    {852, "ibm852"}, {855, "IBM855"}, {857, "ibm857"}, {858, "IBM00858"},
    {860, "IBM860"}, {861, "ibm861"}, {862, "DOS-862"}, {863, "IBM863"},
    {864, "IBM864"}, {865, "IBM865"}, {866, "cp866"}, {869, "ibm869"},
    {870, "IBM870"}, {874, "windows-874"}, {875, "cp875"}, {932, "shift_jis"},
    {936, "gb2312"}, {949, "ks_c_5601-1987"}, {950, "big5"}, {1026, "IBM1026"},
    {1047, "IBM01047"}, {1140, "IBM01140"}, {1141, "IBM01141"}, {1142, "IBM01142"},
    {1143, "IBM01143"}, {1144, "IBM01144"}, {1145, "IBM01145"}, {1146, "IBM01146"},
    {1147, "IBM01147"}, {1148, "IBM01148"}, {1149, "IBM01149"}, {1200, "utf-16"},
    {1201, "unicodeFFFE"}, {1250, "windows-1250"}, {1251, "windows-1251"}, {1252, "windows-1252"},
    {1253, "windows-1253"}, {1254, "windows-1254"}, {1255, "windows-1255"}, {1256, "windows-1256"},
    {1257, "windows-1257"}, {1258, "windows-1258"}, {1361, "Johab"}, {10000, "macintosh"},
    {10001, "x-mac-japanese"}, {10002, "x-mac-chinesetrad"}, {10003, "x-mac-korean"}, {10004, "x-mac-arabic"},
    {10005, "x-mac-hebrew"}, {10006, "x-mac-greek"}, {10007, "x-mac-cyrillic"}, {10008, "x-mac-chinesesimp"},
    {10010, "x-mac-romanian"}, {10017, "x-mac-ukrainian"}, {10021, "x-mac-thai"}, {10029, "x-mac-ce"},
    {10079, "x-mac-icelandic"}, {10081, "x-mac-turkish"}, {10082, "x-mac-croatian"}, {12000, "utf-32"},
    {12001, "utf-32BE"}, {20000, "x-Chinese_CNS"}, {20001, "x-cp20001"}, {20002, "x_Chinese-Eten"},
    {20003, "x-cp20003"}, {20004, "x-cp20004"}, {20005, "x-cp20005"}, {20105, "x-IA5"},
    {20106, "x-IA5-German"}, {20107, "x-IA5-Swedish"}, {20108, "x-IA5-Norwegian"}, {20127, "us-ascii"},
    {20261, "x-cp20261"}, {20269, "x-cp20269"}, {20273, "IBM273"}, {20277, "IBM277"},
    {20278, "IBM278"}, {20280, "IBM280"}, {20284, "IBM284"}, {20285, "IBM285"},
    {20290, "IBM290"}, {20297, "IBM297"}, {20420, "IBM420"}, {20423, "IBM423"},
    {20424, "IBM424"}, {20833, "x-EBCDIC-KoreanExtended"}, {20838, "IBM-Thai"}, {20866, "koi8-r"},
    {20871, "IBM871"}, {20880, "IBM880"}, {20905, "IBM905"}, {20924, "IBM00924"},
    {20932, "EUC-JP"}, {20936, "x-cp20936"}, {20949, "x-cp20949"}, {21025, "cp1025"},
    {21866, "koi8-u"}, {28591, "iso-8859-1"}, {28592, "iso-8859-2"}, {28593, "iso-8859-3"},
    {28594, "iso-8859-4"}, {28595, "iso-8859-5"}, {28596, "iso-8859-6"}, {28597, "iso-8859-7"},
    {28598, "iso-8859-8"}, {28599, "iso-8859-9"}, {28603, "iso-8859-13"}, {28605, "iso-8859-15"},
    {29001, "x-Europa"}, {38598, "iso-8859-8-i"}, {50220, "iso-2022-jp"}, {50221, "csISO2022JP"},
    {50222, "iso-2022-jp"}, {50225, "iso-2022-kr"}, {50227, "x-cp50227"}, {51932, "euc-jp"},
    {51936, "EUC-CN"}, {51949, "euc-kr"}, {52936, "hz-gb-2312"}, {54936, "GB18030"},
    {57002, "x-iscii-de"}, {57003, "x-iscii-be"}, {57004, "x-iscii-ta"}, {57005, "x-iscii-te"},
    {57006, "x-iscii-as"}, {57007, "x-iscii-or"}, {57008, "x-iscii-ka"}, {57009, "x-iscii-ma"},
    {57010, "x-iscii-gu"}, {57011, "x-iscii-pa"}, {65000, "utf-7"}, {65001, "utf-8"},
};

TEST(codepage_tables, alias_table_holds_exactly_the_published_keys) {
    std::map<std::string, std::int32_t> expected;
    for (const auto& [codepage, keys] : published_aliases) {
        for (const std::string& key : keys)
            EXPECT_TRUE(expected.emplace(key, codepage).second) << "key listed twice: " << key;
    }
    ASSERT_EQ(expected.size(), 104u);
    EXPECT_EQ(cp::aliases().size(), 104u);
    for (const auto& [key, codepage] : expected) {
        const auto found = cp::aliases().find(key);
        if (found == cp::aliases().end())
            ADD_FAILURE() << "missing key " << key;
        else
            EXPECT_EQ(found->second, codepage) << key;
    }
    for (const auto& [key, codepage] : cp::aliases())
        EXPECT_EQ(expected.count(key), 1u) << "unexpected key " << key << " -> " << codepage;
}

TEST(codepage_tables, name_table_holds_exactly_the_published_entries) {
    ASSERT_EQ(published_names.size(), 140u);
    ASSERT_EQ(cp::names().size(), 140u);
    // The table is ordered by number, so it must hold the published list in its order.
    auto entry = cp::names().begin();
    for (const auto& [codepage, name] : published_names) {
        EXPECT_EQ(entry->first, codepage);
        EXPECT_EQ(entry->second, name) << codepage;
        ++entry;
    }
}

TEST(codepage_tables, every_alias_key_is_already_in_key_form) {
    for (const auto& [key, codepage] : cp::aliases()) {
        EXPECT_FALSE(key.empty());
        EXPECT_EQ(cp::key_form(key), key) << codepage;
    }
}

// Every number the alias table gives (the ASCII marker aside) has a canonical name, so a
// lookup by name never hands out a number that the name lookup refuses.
TEST(codepage_tables, every_aliased_code_page_has_a_canonical_name) {
    for (const auto& [key, codepage] : cp::aliases()) {
        if (codepage == cp::ascii_alias_value)
            continue;
        EXPECT_NE(cp::find_name(codepage), nullptr) << key << " -> " << codepage;
    }
    EXPECT_NE(cp::find_name(cp::us_ascii_codepage), nullptr);
}

TEST(codepage_tables, only_the_ascii_names_carry_minus_one) {
    std::vector<std::string> marked;
    for (const auto& [key, codepage] : cp::aliases()) {
        if (codepage < 0)
            marked.push_back(key);
    }
    EXPECT_EQ(marked, (std::vector<std::string>{"ascii", "usascii"}));
    EXPECT_EQ(cp::ascii_alias_value, -1);
}

TEST(codepage_tables, no_key_gives_latin_1_or_latin_5) {
    for (const auto& [key, codepage] : cp::aliases()) {
        EXPECT_NE(codepage, 28591) << key;
        EXPECT_NE(codepage, 28599) << key;
    }
}

// Exactly nine names are "x-cp" followed by their own number.
TEST(codepage_tables, x_cp_names_carry_their_own_number) {
    std::vector<std::int32_t> x_cp;
    for (const auto& [codepage, name] : cp::names()) {
        if (name.rfind("x-cp", 0) == 0) {
            x_cp.push_back(codepage);
            EXPECT_EQ(name, "x-cp" + std::to_string(codepage));
        }
    }
    EXPECT_EQ(x_cp, (std::vector<std::int32_t>{20001, 20003, 20004, 20005, 20261, 20269, 20936,
                                                20949, 50227}));
}

}  // namespace
