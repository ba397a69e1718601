// The string table and start-up with a module handle, in this process: a module with a
// string table (the fixture DLL) and one without (this test program).
#include "configuration/startup.hpp"

#include "support/crash/crash_handler.hpp"
#include "support/exceptions/exception.hpp"
#include "tests/programs/child_process.hpp"

#include <shlobj.h>

#include <gtest/gtest.h>

namespace {

// The fixture DLL, loaded once for every test here.
HMODULE fixture_module() {
    static const HMODULE module =
        ::LoadLibraryW((test_programs::own_directory() + L"string_table_fixture.dll").c_str());
    return module;
}

std::wstring folder(int csidl) {
    wchar_t path[MAX_PATH] = {};
    EXPECT_EQ(::SHGetFolderPathW(nullptr, csidl, nullptr, SHGFP_TYPE_CURRENT, path), S_OK);
    return path;
}

struct string_case {
    int id;
    std::wstring text;  // empty: the entry is reported as not found
};

class load_string : public ::testing::TestWithParam<string_case> {};

TEST_P(load_string, reads_at_most_259_characters_and_refuses_empty_or_missing_entries) {
    const string_case& c = GetParam();
    ASSERT_NE(fixture_module(), nullptr);
    if (c.text.empty()) {
        try {
            config::load_string(fixture_module(), c.id);
            FAIL() << "no exception for string " << c.id;
        } catch (const replay::exception& error) {
            EXPECT_EQ(std::string(error.what()), "[resource string " + std::to_string(c.id) + " is not found]");
        }
    } else {
        EXPECT_EQ(config::load_string(fixture_module(), c.id), c.text);
    }
}

std::wstring digits(std::size_t count) {
    std::wstring text;
    for (std::size_t i = 0; i < count; ++i)
        text += static_cast<wchar_t>(L'0' + i % 10);
    return text;
}

std::wstring letters(std::size_t count) {
    std::wstring text;
    for (std::size_t i = 0; i < count; ++i)
        text += static_cast<wchar_t>(L'a' + i % 10);
    return text;
}

INSTANTIATE_TEST_SUITE_P(startup, load_string,
                         ::testing::Values(string_case{2001, L"Fixture Brand"},
                                           string_case{2002, L"Fixture\\Product"},
                                           string_case{3259, digits(259)},
                                           string_case{3300, letters(259)},
                                           string_case{3000, L""},
                                           string_case{4242, L""}));

TEST(startup, with_a_module_handle_fills_every_value_and_sets_up_no_dumps) {
    ASSERT_NE(fixture_module(), nullptr);
    config::startup(fixture_module());

    EXPECT_EQ(config::brand.m_brand, L"Fixture Brand");
    EXPECT_EQ(config::brand.m_product_name, L"Fixture\\Product");
    EXPECT_EQ(config::module_directory, test_programs::own_directory());
    EXPECT_EQ(config::module_file_name, L"string_table_fixture.dll");
    EXPECT_EQ(config::common_data_root, folder(CSIDL_COMMON_APPDATA) + L"\\");
    EXPECT_EQ(config::common_product_directory, config::common_data_root + L"Fixture Brand\\Fixture\\Product\\");
    EXPECT_EQ(config::user_data_root, folder(CSIDL_APPDATA) + L"\\");
    EXPECT_EQ(config::user_product_directory, config::user_data_root + L"Fixture Brand\\Fixture\\Product\\");

    EXPECT_FALSE(test_programs::exists(config::user_data_root + L"Fixture Brand"));
    const LPTOP_LEVEL_EXCEPTION_FILTER filter = ::SetUnhandledExceptionFilter(nullptr);
    ::SetUnhandledExceptionFilter(filter);
    EXPECT_NE(filter, replay::crash_filter);
}

TEST(startup, a_module_without_the_string_table_stops_at_the_brand_string) {
    config::brand = config::brand_impl{};
    config::module_file_name.clear();
    try {
        config::startup(::GetModuleHandleW(nullptr));
        FAIL() << "no exception";
    } catch (const replay::exception& error) {
        EXPECT_STREQ(error.what(), "[resource string 2001 is not found]");
        EXPECT_STREQ(error.kind(), "");
    }
    EXPECT_TRUE(config::brand.m_brand.empty());
    EXPECT_TRUE(config::brand.m_product_name.empty());
    EXPECT_TRUE(config::module_file_name.empty());
}

}  // namespace
