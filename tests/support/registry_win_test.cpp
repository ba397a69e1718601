// Registry access against the real registry: each test works below a key of its own
// under HKEY_LOCAL_MACHINE that the fixture creates and removes with the raw API.
#include "support/exceptions/registry_errors.hpp"
#include "support/exceptions/unicode_errors.hpp"
#include "support/registry/registry.hpp"

#include "tests/common/system_owned_security_win.hpp"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

namespace registry2 = replay::registry2;

class registry_fixture : public testing::Test {
protected:
    void SetUp() override {
        path_ = L"SOFTWARE\\ReplayRegistryTest-" + std::to_wstring(::GetCurrentProcessId());
        ASSERT_EQ(::RegCreateKeyExW(HKEY_LOCAL_MACHINE, path_.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                                    &raw_, nullptr),
                  ERROR_SUCCESS);
    }

    void TearDown() override {
        if (raw_)
            ::RegCloseKey(raw_);
        ::RegDeleteTreeW(HKEY_LOCAL_MACHINE, path_.c_str());
        ::RegDeleteKeyW(HKEY_LOCAL_MACHINE, path_.c_str());
    }

    void store(const wchar_t* name, DWORD type, const std::vector<BYTE>& bytes) {
        ASSERT_EQ(::RegSetValueExW(raw_, name, 0, type, bytes.data(), static_cast<DWORD>(bytes.size())),
                  ERROR_SUCCESS);
    }

    void store_text(const wchar_t* name, DWORD type, const std::wstring& text) {
        const auto* first = reinterpret_cast<const BYTE*>(text.c_str());
        store(name, type, std::vector<BYTE>(first, first + (text.size() + 1) * sizeof(wchar_t)));
    }

    registry2::key open_test_key() { return registry2::open_subkey(registry2::open_local_machine(), path_); }

    std::wstring path_;
    HKEY raw_ = nullptr;
};

// UTF-16 little-endian bytes of `text`, exactly as given (no terminator added).
std::vector<BYTE> utf16(const std::wstring& text) {
    std::vector<BYTE> bytes;
    for (wchar_t c : text) {
        bytes.push_back(static_cast<BYTE>(c & 0xFF));
        bytes.push_back(static_cast<BYTE>(c >> 8));
    }
    return bytes;
}

template <typename Call>
std::string what_of(Call call) {
    try {
        call();
    } catch (const replay::exception& e) {
        return e.what();
    }
    return "nothing thrown";
}

struct value_case {
    const char* label;
    DWORD type;
    std::vector<BYTE> bytes;
    std::wstring text;  // what read_string gives, when `what` is empty
    std::string what;   // the error read_string throws
};

void PrintTo(const value_case& c, std::ostream* os) { *os << c.label; }

class stored_value : public registry_fixture, public testing::WithParamInterface<value_case> {};

TEST_P(stored_value, reads_back_as_the_table_says) {
    const value_case& c = GetParam();
    store(L"v", c.type, c.bytes);
    const registry2::key k = open_test_key();
    if (c.what.empty())
        EXPECT_EQ(registry2::read_string(k, L"v"), c.text);
    else
        EXPECT_EQ(what_of([&] { registry2::read_string(k, L"v"); }), c.what);
}

std::vector<BYTE> odd_five_bytes() {
    std::vector<BYTE> bytes = utf16(L"abc");
    bytes.pop_back();
    return bytes;
}

INSTANTIATE_TEST_SUITE_P(
    values, stored_value,
    testing::Values(
        value_case{"one_terminator", REG_SZ, utf16(std::wstring(L"abc\0", 4)), L"abc", ""},
        value_case{"no_terminator", REG_SZ, utf16(L"abc"), L"abc", ""},
        value_case{"two_terminators", REG_SZ, utf16(std::wstring(L"abc\0\0", 5)), std::wstring(L"abc\0", 4), ""},
        value_case{"inner_zero_stays", REG_SZ, utf16(std::wstring(L"a\0b\0", 4)), std::wstring(L"a\0b", 3), ""},
        value_case{"size_zero", REG_SZ, {}, L"", ""},
        value_case{"only_terminator", REG_SZ, utf16(std::wstring(L"\0", 1)), L"", ""},
        value_case{"odd_size_5", REG_SZ, odd_five_bytes(), L"ab", ""},
        value_case{"expand_sz_is_expanded", REG_EXPAND_SZ,
                   utf16(std::wstring(L"<%REPLAY_REGISTRY_TEST%>\0", 25)), L"<expanded>", ""},
        value_case{"sz_is_not_expanded", REG_SZ, utf16(std::wstring(L"<%REPLAY_REGISTRY_TEST%>\0", 25)),
                   L"<%REPLAY_REGISTRY_TEST%>", ""},
        value_case{"expand_sz_keeps_unknown_references", REG_EXPAND_SZ,
                   utf16(std::wstring(L"%REPLAY_NO_SUCH_VARIABLE%\0", 26)), L"%REPLAY_NO_SUCH_VARIABLE%", ""},
        value_case{"expand_sz_stops_at_an_inner_zero", REG_EXPAND_SZ, utf16(std::wstring(L"a\0b", 3)), L"a", ""},
        value_case{"dword", REG_DWORD, {1, 0, 0, 0}, L"",
                   "registry2.type_mismatch[Type mismatch: value \"v\" expected 1 found 4]"},
        value_case{"multi_sz", REG_MULTI_SZ, utf16(std::wstring(L"a\0b\0\0", 5)), L"",
                   "registry2.type_mismatch[Type mismatch: value \"v\" expected 1 found 7]"},
        value_case{"binary", REG_BINARY, {1, 2, 3}, L"",
                   "registry2.type_mismatch[Type mismatch: value \"v\" expected 1 found 3]"},
        value_case{"stored_as_reg_none", REG_NONE, utf16(L"abc"), L"", "registry2.value_error[Not found: value \"v\"]"}),
    [](const testing::TestParamInfo<value_case>& info) { return std::string(info.param.label); });

// The variable that the table's REG_EXPAND_SZ values refer to.
class registry_environment : public testing::Environment {
public:
    void SetUp() override { ASSERT_TRUE(::SetEnvironmentVariableW(L"REPLAY_REGISTRY_TEST", L"expanded")); }
};
const testing::Environment* const environment = testing::AddGlobalTestEnvironment(new registry_environment);

using registry = registry_fixture;

TEST_F(registry, missing_value_is_not_found) {
    const registry2::key k = open_test_key();
    EXPECT_EQ(what_of([&] { registry2::read_string(k, L"InstallerLanguage"); }),
              "registry2.value_error[Not found: value \"InstallerLanguage\"]");
    EXPECT_THROW(registry2::read_string(k, L"InstallerLanguage"), registry2::value_error);
}

TEST_F(registry, missing_subkey_is_a_key_error_with_code_2) {
    const registry2::key root = registry2::open_local_machine();
    const std::wstring absent = path_ + L"\\absent";
    const std::string narrow_absent(absent.begin(), absent.end());
    EXPECT_EQ(what_of([&] { registry2::open_subkey(root, absent); }),
              "registry2.key_error[RegOpenKeyEx() failed: key \"" + narrow_absent + "\" (2)]");
    EXPECT_THROW(registry2::open_subkey(root, absent), registry2::key_error);
}

TEST_F(registry, subkey_opens_relative_to_its_parent) {
    store_text(L"name", REG_SZ, L"below");
    HKEY raw_child = nullptr;
    ASSERT_EQ(::RegCreateKeyExW(raw_, L"child", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &raw_child, nullptr),
              ERROR_SUCCESS);
    ::RegSetValueExW(raw_child, L"name", 0, REG_SZ, reinterpret_cast<const BYTE*>(L"child"), 12);
    ::RegCloseKey(raw_child);
    const registry2::key parent = open_test_key();
    const registry2::key child = registry2::open_subkey(parent, L"child");
    EXPECT_EQ(registry2::read_string(child, L"name"), L"child");
    EXPECT_EQ(registry2::read_string(parent, L"name"), L"below");
}

TEST_F(registry, write_string_stores_reg_sz_with_its_terminator) {
    const registry2::key k = open_test_key();
    registry2::write_string(k, L"written", L"abc");
    DWORD type = 0;
    std::vector<BYTE> bytes(16);
    DWORD size = static_cast<DWORD>(bytes.size());
    ASSERT_EQ(::RegQueryValueExW(raw_, L"written", nullptr, &type, bytes.data(), &size), ERROR_SUCCESS);
    EXPECT_EQ(type, static_cast<DWORD>(REG_SZ));
    bytes.resize(size);
    EXPECT_EQ(bytes, utf16(std::wstring(L"abc\0", 4)));
    EXPECT_EQ(registry2::read_string(k, L"written"), L"abc");
}

TEST_F(registry, narrow_reading_converts_to_the_ansi_code_page_strictly) {
    store_text(L"InstallerLanguage", REG_SZ, L"1033");
    store_text(L"ideograph", REG_SZ, L"\u4E00");
    const registry2::key k = open_test_key();
    EXPECT_EQ(registry2::read_string_narrow(k, L"InstallerLanguage"), "1033");
    CPINFO info{};
    ASSERT_TRUE(::GetCPInfo(CP_ACP, &info));
    ASSERT_EQ(info.MaxCharSize, 1u) << "needs an ANSI code page without CJK ideographs";
    EXPECT_THROW(registry2::read_string_narrow(k, L"ideograph"), replay::unicode::unmappable_character);
}

TEST_F(registry, name_the_ansi_code_page_cannot_show_raises_the_conversion_error) {
    CPINFO info{};
    ASSERT_TRUE(::GetCPInfo(CP_ACP, &info));
    ASSERT_EQ(info.MaxCharSize, 1u) << "needs an ANSI code page without CJK ideographs";
    const registry2::key k = open_test_key();
    EXPECT_THROW(registry2::read_string(k, L"\u4E00"), replay::unicode::unmappable_character);
}

// Expansions of 32000 references' worth plus the rest. 32766 characters fit the room of
// 32768 beside the terminator; 32768 do not. At 32767 some implementations cut the
// text: it must then be refused, never returned short.
enum class expansion_outcome { whole, whole_or_refused, refused };

struct long_expansion {
    std::size_t rest;
    expansion_outcome outcome;
};

void PrintTo(const long_expansion& c, std::ostream* os) { *os << 32000 + c.rest << " characters"; }

class expansion_limit : public registry_fixture, public testing::WithParamInterface<long_expansion> {};

TEST_P(expansion_limit, result_is_whole_or_refused) {
    ASSERT_TRUE(::SetEnvironmentVariableW(L"REPLAY_REGISTRY_LONG", std::wstring(16000, L'x').c_str()));
    const std::wstring tail(GetParam().rest, L'y');
    store_text(L"long", REG_EXPAND_SZ, L"%REPLAY_REGISTRY_LONG%%REPLAY_REGISTRY_LONG%" + tail);
    const registry2::key k = open_test_key();

    std::wstring text;
    const std::string what = what_of([&] { text = registry2::read_string(k, L"long"); });
    const bool whole = what == "nothing thrown" && text == std::wstring(32000, L'x') + tail;
    const bool refused =
        what == "registry2.value_error[ExpandEnvironmentStrings() failed: value \"long\" expands beyond 32767 "
                "characters (122)]";
    switch (GetParam().outcome) {
    case expansion_outcome::whole:
        EXPECT_TRUE(whole) << what << ", " << text.size() << " characters";
        break;
    case expansion_outcome::whole_or_refused:
        EXPECT_TRUE(whole || refused) << what << ", " << text.size() << " characters";
        break;
    case expansion_outcome::refused:
        EXPECT_TRUE(refused) << what << ", " << text.size() << " characters";
        break;
    }
}

INSTANTIATE_TEST_SUITE_P(lengths, expansion_limit,
                         testing::Values(long_expansion{766, expansion_outcome::whole},
                                         long_expansion{767, expansion_outcome::whole_or_refused},
                                         long_expansion{768, expansion_outcome::refused},
                                         long_expansion{2000, expansion_outcome::refused}));

// A key owned by the system account that grants everyone reading (and deleting, for the
// clean-up) but not writing: the read-write open is refused, the read-only one succeeds.
TEST_F(registry, read_only_key_opens_through_the_second_attempt) {
    store_text(L"name", REG_SZ, L"readable");
    testing_support::system_owned_security security(KEY_READ | DELETE);
    ASSERT_EQ(::RegSetKeySecurity(raw_, OWNER_SECURITY_INFORMATION | DACL_SECURITY_INFORMATION, security.descriptor()),
              ERROR_SUCCESS);

    HKEY probe = nullptr;
    ASSERT_EQ(::RegOpenKeyExW(HKEY_LOCAL_MACHINE, path_.c_str(), 0, KEY_READ | KEY_WRITE, &probe),
              ERROR_ACCESS_DENIED);

    const registry2::key k = open_test_key();
    EXPECT_EQ(registry2::read_string(k, L"name"), L"readable");
    EXPECT_EQ(what_of([&] { registry2::write_string(k, L"name", L"changed"); }),
              "registry2.value_error[RegSetValueEx() failed: value \"name\" (5)]");
}

}  // namespace
