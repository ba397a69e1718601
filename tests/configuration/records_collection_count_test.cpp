// Collection counts far beyond the items an archive holds: loading ends in an archive
// error at the first missing item, without first making room for the count.
#include "configuration/records.hpp"

#include "tests/configuration/archive_text.hpp"

#include <boost/archive/archive_exception.hpp>

#include <gtest/gtest.h>

#include <string>

namespace {

class update_path_count : public testing::TestWithParam<const char*> {};

TEST_P(update_path_count, beyond_the_items_present_is_an_archive_error) {
    std::string text = config_test::archive_file("suite_v2.xml");
    const std::string count = "<count>1</count>";
    const auto at = text.find(count);
    ASSERT_NE(at, std::string::npos);
    text.replace(at, count.size(), std::string("<count>") + GetParam() + "</count>");

    config::suite_impl suite;
    EXPECT_THROW(config_test::load_text(text, suite, "suite"), boost::archive::archive_exception);
}

// One item is present: counts that would take gigabytes or more than any vector can hold.
INSTANTIATE_TEST_SUITE_P(records, update_path_count,
                         testing::Values("2", "4294967295", "18446744073709551615"));

}  // namespace
