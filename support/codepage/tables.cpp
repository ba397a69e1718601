// The two tables of the code page catalogue. Both are built during static
// initialisation (before main), alias table first, and destroyed in reverse order after
// main has returned.
#include "support/codepage/catalogue.hpp"

namespace replay::codepage {

// Each table is a function-local object so that a use from another file's static
// initialiser finds it built; the flag below builds both before main in any case.
const alias_map& aliases() {
    // Rows grouped by code page; the ASCII names come first.
    static const alias_map table{
        {"ascii", -1}, {"usascii", -1},
        {"asmo708", 708},
        {"tis620", 874},
        {"csshiftjis", 932}, {"cswindows31j", 932}, {"mskanji", 932}, {"shiftjis", 932}, {"xsjis", 932},
        {"csgb2312", 936}, {"csgb231280", 936}, {"csiso58gb231280", 936}, {"cngb", 936}, {"gbk", 936},
        {"gb2312", 936}, {"gb231280", 936}, {"isoir58", 936},
        {"ksc5601", 949}, {"ksc56011987", 949}, {"csksc5601", 949}, {"csksc56011987", 949},
        {"isoir149", 949}, {"korean", 949},
        {"big5", 950}, {"cnbig5", 950}, {"csbig5", 950}, {"xxbig5", 950},
        {"isoir6", 1252}, {"isoir100", 1252}, {"iso646us", 1252},
        {"isoir148", 1254},
        {"johab", 1361},
        {"macintosh", 10000},
        {"xmacjapanese", 10001},
        {"xmacchinesetrad", 10002},
        {"xmackorean", 10003},
        {"xmacarabic", 10004},
        {"xmachebrew", 10005},
        {"xmacgreek", 10006},
        {"xmaccyrillic", 10007},
        {"xmacce", 10029},
        {"xmacicelandic", 10079},
        {"xchinesecns", 20000},
        {"xchineseeten", 20002},
        {"xia5german", 20106},
        {"xia5swedish", 20107},
        {"xia5norwegian", 20108},
        {"koi", 20866}, {"koi8", 20866}, {"koi8r", 20866},
        {"koi8u", 21866}, {"koi8ru", 21866},
        {"isoir101", 28592},
        {"isoir110", 28594},
        {"csisolatincyrillic", 28595}, {"cyrillic", 28595}, {"isoir144", 28595},
        {"arabic", 28596}, {"csisolatinarabic", 28596}, {"ecma114", 28596}, {"isoir127", 28596},
        {"csisolatingreek", 28597}, {"ecma118", 28597}, {"elot928", 28597}, {"greek", 28597},
        {"greek8", 28597}, {"isoir126", 28597},
        {"csisolatinhebrew", 28598}, {"hebrew", 28598}, {"isoir138", 28598}, {"visual", 28598},
        {"xeuropa", 29001},
        {"iso88598i", 38598}, {"logical", 38598},
        {"csiso2022jp", 50221}, {"iso2022jp", 50221},
        {"eucjp", 51932}, {"cseucjp", 51932}, {"xeucjp", 51932},
        {"euccn", 51936}, {"cseuccn", 51936}, {"xeuccn", 51936},
        {"euckr", 51949}, {"cseuckr", 51949}, {"xcseuckr", 51949},
        {"hzgb2312", 52936}, {"xmacchinesesimp", 52936},
        {"gb18030", 54936},
        {"xisciide", 57002},
        {"xisciibe", 57003},
        {"xisciita", 57004},
        {"xisciite", 57005},
        {"xisciias", 57006},
        {"xisciior", 57007},
        {"xisciika", 57008},
        {"xisciima", 57009},
        {"xisciigu", 57010},
        {"xisciipa", 57011},
        {"utf7", 65000}, {"unicode11utf7", 65000}, {"unicode20utf7", 65000},
        {"utf8", 65001}, {"unicode11utf8", 65001}, {"unicode20utf8", 65001},
    };
    return table;
}

const name_map& names() {
    // Rows in ascending order of number. 50220 and 50222 share "iso-2022-jp".
    static const name_map table{
        {37, "IBM037"}, {437, "IBM437"}, {500, "IBM500"}, {708, "ASMO-708"}, {720, "DOS-720"},
        {737, "ibm737"}, {775, "ibm775"}, {850, "ibm850"}, {852, "ibm852"}, {855, "IBM855"},
        {857, "ibm857"}, {858, "IBM00858"}, {860, "IBM860"}, {861, "ibm861"}, {862, "DOS-862"},
        {863, "IBM863"}, {864, "IBM864"}, {865, "IBM865"}, {866, "cp866"}, {869, "ibm869"},
        {870, "IBM870"}, {874, "windows-874"}, {875, "cp875"}, {932, "shift_jis"}, {936, "gb2312"},
        {949, "ks_c_5601-1987"}, {950, "big5"}, {1026, "IBM1026"}, {1047, "IBM01047"},
        {1140, "IBM01140"}, {1141, "IBM01141"}, {1142, "IBM01142"}, {1143, "IBM01143"},
        {1144, "IBM01144"}, {1145, "IBM01145"}, {1146, "IBM01146"}, {1147, "IBM01147"},
        {1148, "IBM01148"}, {1149, "IBM01149"}, {1200, "utf-16"}, {1201, "unicodeFFFE"},
        {1250, "windows-1250"}, {1251, "windows-1251"}, {1252, "windows-1252"}, {1253, "windows-1253"},
        {1254, "windows-1254"}, {1255, "windows-1255"}, {1256, "windows-1256"}, {1257, "windows-1257"},
        {1258, "windows-1258"}, {1361, "Johab"}, {10000, "macintosh"}, {10001, "x-mac-japanese"},
        {10002, "x-mac-chinesetrad"}, {10003, "x-mac-korean"}, {10004, "x-mac-arabic"},
        {10005, "x-mac-hebrew"}, {10006, "x-mac-greek"}, {10007, "x-mac-cyrillic"},
        {10008, "x-mac-chinesesimp"}, {10010, "x-mac-romanian"}, {10017, "x-mac-ukrainian"},
        {10021, "x-mac-thai"}, {10029, "x-mac-ce"}, {10079, "x-mac-icelandic"},
        {10081, "x-mac-turkish"}, {10082, "x-mac-croatian"}, {12000, "utf-32"}, {12001, "utf-32BE"},
        {20000, "x-Chinese_CNS"}, {20001, "x-cp20001"}, {20002, "x_Chinese-Eten"}, {20003, "x-cp20003"},
        {20004, "x-cp20004"}, {20005, "x-cp20005"}, {20105, "x-IA5"}, {20106, "x-IA5-German"},
        {20107, "x-IA5-Swedish"}, {20108, "x-IA5-Norwegian"}, {20127, "us-ascii"}, {20261, "x-cp20261"},
        {20269, "x-cp20269"}, {20273, "IBM273"}, {20277, "IBM277"}, {20278, "IBM278"},
        {20280, "IBM280"}, {20284, "IBM284"}, {20285, "IBM285"}, {20290, "IBM290"}, {20297, "IBM297"},
        {20420, "IBM420"}, {20423, "IBM423"}, {20424, "IBM424"}, {20833, "x-EBCDIC-KoreanExtended"},
        {20838, "IBM-Thai"}, {20866, "koi8-r"}, {20871, "IBM871"}, {20880, "IBM880"}, {20905, "IBM905"},
        {20924, "IBM00924"}, {20932, "EUC-JP"}, {20936, "x-cp20936"}, {20949, "x-cp20949"},
        {21025, "cp1025"}, {21866, "koi8-u"}, {28591, "iso-8859-1"}, {28592, "iso-8859-2"},
        {28593, "iso-8859-3"}, {28594, "iso-8859-4"}, {28595, "iso-8859-5"}, {28596, "iso-8859-6"},
        {28597, "iso-8859-7"}, {28598, "iso-8859-8"}, {28599, "iso-8859-9"}, {28603, "iso-8859-13"},
        {28605, "iso-8859-15"}, {29001, "x-Europa"}, {38598, "iso-8859-8-i"}, {50220, "iso-2022-jp"},
        {50221, "csISO2022JP"}, {50222, "iso-2022-jp"}, {50225, "iso-2022-kr"}, {50227, "x-cp50227"},
        {51932, "euc-jp"}, {51936, "EUC-CN"}, {51949, "euc-kr"}, {52936, "hz-gb-2312"},
        {54936, "GB18030"}, {57002, "x-iscii-de"}, {57003, "x-iscii-be"}, {57004, "x-iscii-ta"},
        {57005, "x-iscii-te"}, {57006, "x-iscii-as"}, {57007, "x-iscii-or"}, {57008, "x-iscii-ka"},
        {57009, "x-iscii-ma"}, {57010, "x-iscii-gu"}, {57011, "x-iscii-pa"}, {65000, "utf-7"},
        {65001, "utf-8"},
    };
    return table;
}

namespace {

// Function-local objects are destroyed in the reverse order of their construction, so
// building the alias table first makes it the last one released.
[[maybe_unused]] const bool tables_built = (aliases(), names(), true);

}  // namespace

}  // namespace replay::codepage
