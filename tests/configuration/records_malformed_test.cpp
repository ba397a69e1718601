// Archives that do not match the records' form are refused with Boost's archive errors.
#include "configuration/records.hpp"

#include "tests/configuration/archive_text.hpp"

#include <boost/archive/archive_exception.hpp>
#include <boost/archive/xml_archive_exception.hpp>

#include <gtest/gtest.h>

namespace {

struct malformed_case {
    const char* name;
    const char* from;  // a piece of a valid version-2 archive ...
    const char* to;    // ... and what it becomes
    bool xml_error;    // an XML archive error, or else a stream error
};

void PrintTo(const malformed_case& c, std::ostream* out) { *out << c.name; }

class malformed_suite_archive : public ::testing::TestWithParam<malformed_case> {};

TEST_P(malformed_suite_archive, throws_an_archive_error) {
    const malformed_case& c = GetParam();
    std::string text = config_test::archive_file("suite_v2.xml");
    const auto at = text.find(c.from);
    ASSERT_NE(at, std::string::npos);
    text.replace(at, std::string(c.from).size(), c.to);

    config::suite_impl suite;
    try {
        config_test::load_text(text, suite, "suite");
        FAIL() << "loaded without an error";
    } catch (const boost::archive::xml_archive_exception&) {
        EXPECT_TRUE(c.xml_error);
    } catch (const boost::archive::archive_exception& error) {
        EXPECT_FALSE(c.xml_error);
        EXPECT_EQ(error.code, boost::archive::archive_exception::input_stream_error);
    }
}

INSTANTIATE_TEST_SUITE_P(
    records, malformed_suite_archive,
    ::testing::Values(
        malformed_case{"misnamed", "<m_version>1.0</m_version>", "<m_versio>1.0</m_versio>", true},
        malformed_case{"missing", "\t<m_suite_name>Office Suite</m_suite_name>\n", "", true},
        malformed_case{"out_of_order", "<m_product_id>{11}</m_product_id>\n\t<m_partner_id>partner</m_partner_id>",
                       "<m_partner_id>partner</m_partner_id>\n\t<m_product_id>{11}</m_product_id>", true},
        malformed_case{"port_not_a_number", "<m_proxy_port>8080</m_proxy_port>", "<m_proxy_port>x</m_proxy_port>",
                       false},
        malformed_case{"mode_not_a_number", "<m_update_mode>2</m_update_mode>", "<m_update_mode>two</m_update_mode>",
                       false}),
    [](const ::testing::TestParamInfo<malformed_case>& info) { return std::string(info.param.name); });

TEST(malformed_suite_archive, a_truncated_archive_throws_an_archive_error) {
    const std::string text = config_test::archive_file("suite_v2.xml");
    config::suite_impl suite;
    EXPECT_THROW(config_test::load_text(text.substr(0, text.find("<m_proxy ")), suite, "suite"),
                 boost::archive::archive_exception);
}

}  // namespace
