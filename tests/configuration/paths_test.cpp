// The rules that compose the product's paths from the module path and the brand record.
#include "configuration/paths.hpp"

#include <gtest/gtest.h>

namespace {

struct split_case {
    const wchar_t* path;
    const wchar_t* directory;
    const wchar_t* file_name;
};

class module_path_split : public ::testing::TestWithParam<split_case> {};

TEST_P(module_path_split, cuts_after_the_last_backslash) {
    const split_case& c = GetParam();
    const config::module_path_parts parts = config::split_module_path(c.path);
    EXPECT_EQ(parts.directory, c.directory);
    EXPECT_EQ(parts.file_name, c.file_name);
}

INSTANTIATE_TEST_SUITE_P(
    paths, module_path_split,
    ::testing::Values(split_case{L"C:\\Users\\me\\Downloads\\Reader.exe", L"C:\\Users\\me\\Downloads\\", L"Reader.exe"},
                      split_case{L"C:\\Reader.exe", L"C:\\", L"Reader.exe"},
                      split_case{L"Reader.exe", L"", L"Reader.exe"},
                      split_case{L"C:/forward/slashes/Reader.exe", L"", L"C:/forward/slashes/Reader.exe"},
                      split_case{L"\\\\server\\share\\dir\\", L"\\\\server\\share\\dir\\", L""}));

TEST(product_directory, is_root_brand_and_product_each_followed_by_a_backslash) {
    EXPECT_EQ(config::product_directory(L"C:\\ProgramData\\", config::brand_impl{L"Quorlin", L"Tallowmere"}),
              L"C:\\ProgramData\\Quorlin\\Tallowmere\\");
}

TEST(product_directory, a_backslash_in_a_name_adds_a_level) {
    EXPECT_EQ(config::product_directory(L"R\\", config::brand_impl{L"Brand\\Sub", L"Product"}),
              L"R\\Brand\\Sub\\Product\\");
}

TEST(product_directory, the_root_is_taken_as_it_is) {
    // The start-up appends its backslash without looking at how the folder path ends.
    EXPECT_EQ(config::product_directory(L"C:\\\\", config::brand_impl{L"B", L"P"}), L"C:\\\\B\\P\\");
}

TEST(dumps_directory, is_the_per_user_product_directory_and_dumps_without_a_backslash) {
    const std::wstring saved = config::user_product_directory;
    config::user_product_directory = L"C:\\Users\\me\\AppData\\Roaming\\Quorlin\\Tallowmere\\";
    EXPECT_EQ(config::dumps_directory(), L"C:\\Users\\me\\AppData\\Roaming\\Quorlin\\Tallowmere\\Dumps");
    config::user_product_directory = saved;
}

}  // namespace
