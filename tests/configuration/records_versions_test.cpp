// Hand-written archives of older class versions, and records loaded through pointers.
#include "configuration/records.hpp"

#include "tests/configuration/archive_text.hpp"

#include <gtest/gtest.h>

#include <memory>

namespace {

using config::suite_impl;

struct version_case {
    const char* file;
    std::uint32_t version;
    const wchar_t* suite_name;
    const char* parameters;  // after loading into a record whose m_parameters was "kept"
};

class suite_archive_version : public ::testing::TestWithParam<version_case> {};

TEST_P(suite_archive_version, loads_with_the_version_gates) {
    const version_case& c = GetParam();
    suite_impl suite;
    suite.m_suite_name = L"overwritten";
    suite.m_parameters = "kept";
    config_test::load_text(config_test::archive_file(c.file), suite, "suite");

    EXPECT_EQ(suite.m_archive_version, c.version);
    EXPECT_EQ(suite.m_suite_name, c.suite_name);
    EXPECT_EQ(suite.m_parameters, c.parameters);
    // The elements around the gated ones are read in their places.
    EXPECT_EQ(suite.m_version, L"1.0");
    EXPECT_EQ(suite.m_suite_launcher_path, L"C:\\Launcher.exe");
    EXPECT_EQ(suite.m_update_url, L"http://update.example");
    ASSERT_EQ(suite.m_update_paths.size(), 1u);
    EXPECT_EQ(suite.m_update_paths[0], (config::update_impl{L"core", L"C1", L"C:\\core", 2, -1}));
    EXPECT_EQ(suite.m_proxy, (config::proxy_impl{true, L"proxy.example", 8080}));
}

INSTANTIATE_TEST_SUITE_P(records, suite_archive_version,
                         ::testing::Values(version_case{"suite_v0.xml", 0, L"Suite", "kept"},
                                           version_case{"suite_v1.xml", 1, L"Office Suite", "kept"},
                                           version_case{"suite_v2.xml", 2, L"Office Suite", "/quiet & /norestart"}));

TEST(suite_archive_version, a_suite_loaded_through_a_pointer_is_made_fresh_and_filled) {
    std::istringstream in(config_test::archive_file("suite_pointer_v1.xml"));
    boost::archive::xml_iarchive archive(in);
    suite_impl* raw = nullptr;
    archive >> boost::serialization::make_nvp("suite", raw);
    const std::unique_ptr<suite_impl> suite(raw);

    ASSERT_NE(suite, nullptr);
    EXPECT_EQ(suite->m_archive_version, 1u);
    EXPECT_EQ(suite->m_suite_name, L"Pointer Suite");
    EXPECT_EQ(suite->m_last_used_language, L"fr-FR");
    EXPECT_TRUE(suite->m_parameters.empty());  // a default-constructed record, version 1 holds none
    EXPECT_TRUE(suite->m_update_paths.empty());
}

TEST(brand_archive, loads_by_value) {
    config::brand_impl brand;
    config_test::load_text(config_test::archive_file("brand.xml"), brand, "brand");
    EXPECT_EQ(brand, (config::brand_impl{L"Quorlin", L"Tallowmere"}));
}

TEST(brand_archive, one_tracked_object_stored_twice_loads_as_one_object) {
    std::istringstream in(config_test::archive_file("brand_pointers.xml"));
    boost::archive::xml_iarchive archive(in);
    config::brand_impl* first = nullptr;
    config::brand_impl* again = nullptr;
    archive >> boost::serialization::make_nvp("first", first);
    archive >> boost::serialization::make_nvp("again", again);
    const std::unique_ptr<config::brand_impl> owner(first);

    ASSERT_NE(first, nullptr);
    EXPECT_EQ(again, first);
    EXPECT_EQ(*first, (config::brand_impl{L"Quorlin", L"Tallowmere"}));
}

}  // namespace
