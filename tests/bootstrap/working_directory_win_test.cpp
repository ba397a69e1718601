#include "bootstrap/working_directory.hpp"
#include "support/win/windows.hpp"

#include <gtest/gtest.h>

#include <fstream>

namespace {

bool exists(const std::string& path) { return ::GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

void write_file(const std::string& path) { std::ofstream(path) << "content"; }

// A fresh directory under the temporary folder for one test, removed by force afterwards.
class scratch_tree : public testing::Test {
protected:
    void SetUp() override {
        root = bootstrap::temp_folder_path() + "remove_tree_" +
               testing::UnitTest::GetInstance()->current_test_info()->name() + "\\";
        clean_up();  // left over from an interrupted run
        ASSERT_TRUE(::CreateDirectoryA(root.c_str(), nullptr)) << root;
    }
    void TearDown() override { clean_up(); }
    // Undoes what the tests leave on purpose, then removes the rest.
    void clean_up() {
        ::SetFileAttributesA((root + "keep\\locked.txt").c_str(), FILE_ATTRIBUTE_NORMAL);
        ::DeleteFileA((root + ".cache\\kept.txt").c_str());
        ::RemoveDirectoryA((root + ".cache").c_str());
        bootstrap::remove_tree(root);
    }
    std::string root;
};

TEST(temp_folder_path, ends_with_a_backslash_and_exists) {
    const std::string temp = bootstrap::temp_folder_path();
    ASSERT_FALSE(temp.empty());
    EXPECT_EQ(temp.back(), '\\');
    EXPECT_TRUE(exists(temp));
}

TEST_F(scratch_tree, removes_a_tree_of_files_and_directories) {
    ::CreateDirectoryA((root + "a").c_str(), nullptr);
    ::CreateDirectoryA((root + "a\\b").c_str(), nullptr);
    write_file(root + "top.txt");
    write_file(root + "a\\b\\deep.txt");
    EXPECT_TRUE(bootstrap::remove_tree(root));
    EXPECT_FALSE(exists(root));
}

TEST_F(scratch_tree, empty_directory_given_with_a_forward_slash_is_removed) {
    std::string path = root;
    path.back() = '/';
    EXPECT_TRUE(bootstrap::remove_tree(path));
    EXPECT_FALSE(exists(root));
}

TEST_F(scratch_tree, read_only_file_stays_with_the_directories_above_it) {
    ::CreateDirectoryA((root + "keep").c_str(), nullptr);
    ::CreateDirectoryA((root + "empty").c_str(), nullptr);
    write_file(root + "keep\\locked.txt");
    write_file(root + "keep\\other.txt");
    write_file(root + "top.txt");
    ::SetFileAttributesA((root + "keep\\locked.txt").c_str(), FILE_ATTRIBUTE_READONLY);

    EXPECT_FALSE(bootstrap::remove_tree(root));
    EXPECT_TRUE(exists(root + "keep\\locked.txt"));
    EXPECT_FALSE(exists(root + "keep\\other.txt"));
    EXPECT_FALSE(exists(root + "top.txt"));
    EXPECT_FALSE(exists(root + "empty"));
}

TEST_F(scratch_tree, directory_whose_name_begins_with_a_dot_is_not_entered) {
    ::CreateDirectoryA((root + ".cache").c_str(), nullptr);
    write_file(root + ".cache\\kept.txt");
    write_file(root + "gone.txt");
    EXPECT_FALSE(bootstrap::remove_tree(root));
    EXPECT_TRUE(exists(root + ".cache\\kept.txt"));
    EXPECT_FALSE(exists(root + "gone.txt"));
}

TEST_F(scratch_tree, link_to_a_directory_elsewhere_is_removed_not_followed) {
    const std::string outside = root.substr(0, root.size() - 1) + "_outside\\";
    ASSERT_TRUE(::CreateDirectoryA(outside.c_str(), nullptr));
    write_file(outside + "precious.txt");
    if (!::CreateSymbolicLinkA((root + "link").c_str(), outside.c_str(), SYMBOLIC_LINK_FLAG_DIRECTORY)) {
        bootstrap::remove_tree(outside);
        GTEST_SKIP() << "this system makes no directory links (error " << ::GetLastError() << ")";
    }
    EXPECT_TRUE(bootstrap::remove_tree(root));
    EXPECT_FALSE(exists(root));
    EXPECT_TRUE(exists(outside + "precious.txt"));
    bootstrap::remove_tree(outside);
}

TEST(remove_tree, missing_directory_gives_false) {
    EXPECT_FALSE(bootstrap::remove_tree(bootstrap::temp_folder_path() + "no_such_directory_here"));
}

TEST(create_working_directory, skips_numbers_whose_directory_exists) {
    const std::string temp = bootstrap::temp_folder_path();
    const std::int32_t number = 123456;
    const std::string taken = bootstrap::working_directory_name(temp, number);
    ASSERT_TRUE(::CreateDirectoryA(taken.c_str(), nullptr));

    const auto made = bootstrap::create_working_directory(temp, number);
    ASSERT_TRUE(made.has_value());
    EXPECT_EQ(*made, bootstrap::working_directory_name(temp, number + 1));
    EXPECT_TRUE(exists(*made));

    ::RemoveDirectoryA(made->c_str());
    ::RemoveDirectoryA(taken.c_str());
}

TEST(create_working_directory, gives_nothing_when_the_folder_cannot_hold_it) {
    EXPECT_FALSE(bootstrap::create_working_directory("C:\\no\\such\\folder\\", 1).has_value());
}

}  // namespace
