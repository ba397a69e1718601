// Saving and loading suite records: defaults, round trips, element names and order, proxy values.
#include "configuration/records.hpp"

#include "tests/configuration/archive_text.hpp"

#include <gtest/gtest.h>

#include <regex>
#include <vector>

namespace {

using config::suite_impl;

// The element names of an archive in document order, the archive's own wrapper and the
// XML declaration left out.
std::vector<std::string> element_names(const std::string& text) {
    static const std::regex open_tag("<([A-Za-z_][A-Za-z0-9_]*)");
    std::vector<std::string> names;
    for (auto it = std::sregex_iterator(text.begin(), text.end(), open_tag); it != std::sregex_iterator(); ++it) {
        if ((*it)[1] != "boost_serialization")
            names.push_back((*it)[1]);
    }
    return names;
}

suite_impl filled_suite() {
    suite_impl suite;
    suite.m_msg_system_data = L"msg";
    suite.m_last_used_language = L"en-US";
    suite.m_product_id = L"{4A1B}";
    suite.m_partner_id = L"partner";
    suite.m_version = L"3.2.1";
    suite.m_suite_name = L"Suite <One> & \"Two\"";
    suite.m_suite_launcher_path = L"C:\\Program Files\\Launcher.exe";
    suite.m_suite_msgsys_path = L"C:\\Msgsys";
    suite.m_community_url = L"http://community.example/?a=1&b=2";
    suite.m_service_name = L"service";
    suite.m_service_end_point = L"service-end";
    suite.m_update_end_point = L"update-end";
    suite.m_update_url = L"http://update.example";
    suite.m_update_paths = {{L"core", L"C1", L"C:\\core", 2, -1}, {L"extra", L"E7", L"", -2147483647 - 1, 2147483647}};
    suite.m_proxy = {true, L"proxy.example", 3128};
    suite.m_parameters = "/quiet /norestart";
    return suite;
}

TEST(suite_record, defaults_are_empty_with_the_current_version) {
    const suite_impl suite;
    EXPECT_TRUE(suite.m_suite_name.empty());
    EXPECT_TRUE(suite.m_update_paths.empty());
    EXPECT_TRUE(suite.m_parameters.empty());
    EXPECT_FALSE(suite.m_proxy.m_proxy_enabled);
    EXPECT_EQ(suite.m_proxy.m_proxy_port, 0);
    EXPECT_EQ(suite.m_archive_version, 3u);
}

TEST(suite_record, a_fresh_record_saves_under_version_3_and_loads_back_equal) {
    const suite_impl fresh;
    const std::string text = config_test::save_text(fresh, "suite");
    EXPECT_NE(text.find("<suite class_id=\"0\" tracking_level=\"0\" version=\"3\">"), std::string::npos) << text;

    suite_impl loaded;
    loaded.m_archive_version = 0;  // must come from the archive
    loaded.m_parameters = "stale";
    config_test::load_text(text, loaded, "suite");
    EXPECT_EQ(loaded, fresh);
    EXPECT_EQ(loaded.m_archive_version, 3u);
}

TEST(suite_record, every_member_survives_a_save_and_a_load) {
    const suite_impl suite = filled_suite();
    suite_impl loaded;
    config_test::load_text(config_test::save_text(suite), loaded);
    EXPECT_EQ(loaded, suite);
}

TEST(suite_record, elements_are_named_like_the_members_in_member_order) {
    const std::vector<std::string> update = {"m_name", "m_code", "m_local", "m_update_mode", "m_update_type"};
    std::vector<std::string> expected = {
        "suite",           "m_msg_system_data",   "m_last_used_language", "m_product_id",
        "m_partner_id",    "m_version",           "m_suite_name",         "m_suite_launcher_path",
        "m_suite_msgsys_path", "m_community_url", "m_service_name",       "m_service_end_point",
        "m_update_end_point",  "m_update_url",    "m_update_paths",       "count",
        "item_version"};
    for (int item = 0; item < 2; ++item) {
        expected.push_back("item");
        expected.insert(expected.end(), update.begin(), update.end());
    }
    expected.insert(expected.end(), {"m_proxy", "m_proxy_enabled", "m_proxy_server", "m_proxy_port", "m_parameters"});

    EXPECT_EQ(element_names(config_test::save_text(filled_suite(), "suite")), expected);
}

TEST(suite_record, an_empty_update_path_list_is_a_count_of_zero_and_no_item) {
    const std::string text = config_test::save_text(suite_impl{});
    EXPECT_NE(text.find("<count>0</count>"), std::string::npos) << text;
    EXPECT_EQ(text.find("<item>"), std::string::npos) << text;
    EXPECT_EQ(text.find("<item "), std::string::npos) << text;
}

TEST(suite_record, a_record_loaded_from_an_older_archive_saves_as_version_3) {
    suite_impl old;
    config_test::load_text(config_test::archive_file("suite_v0.xml"), old, "suite");
    ASSERT_EQ(old.m_archive_version, 0u);

    suite_impl again;
    config_test::load_text(config_test::save_text(old), again);
    EXPECT_EQ(again.m_archive_version, 3u);
    again.m_archive_version = old.m_archive_version;
    EXPECT_EQ(again, old);
}

struct proxy_case {
    bool enabled;
    std::uint16_t port;
    const char* enabled_text;
    const char* port_text;
};

class proxy_round_trip : public ::testing::TestWithParam<proxy_case> {};

TEST_P(proxy_round_trip, keeps_the_flag_and_the_port) {
    const proxy_case& c = GetParam();
    suite_impl suite;
    suite.m_proxy = {c.enabled, L"proxy", c.port};
    const std::string text = config_test::save_text(suite);
    EXPECT_NE(text.find(std::string("<m_proxy_enabled>") + c.enabled_text + "</m_proxy_enabled>"), std::string::npos);
    EXPECT_NE(text.find(std::string("<m_proxy_port>") + c.port_text + "</m_proxy_port>"), std::string::npos);

    suite_impl loaded;
    loaded.m_proxy = {!c.enabled, L"other", 1234};
    config_test::load_text(text, loaded);
    EXPECT_EQ(loaded.m_proxy, suite.m_proxy);
}

INSTANTIATE_TEST_SUITE_P(records, proxy_round_trip,
                         ::testing::Values(proxy_case{true, 0, "1", "0"}, proxy_case{false, 65535, "0", "65535"},
                                           proxy_case{true, 65535, "1", "65535"}, proxy_case{false, 1, "0", "1"}));

}  // namespace
