// The name a named system mutex is created under, by the system's major version.
#include "support/sync/mutex_name.hpp"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

namespace {

struct name_case {
    const char* name;
    std::uint32_t major_version;
    const char* prepared;
};

class prepared_mutex_name : public testing::TestWithParam<name_case> {};

TEST_P(prepared_mutex_name, follows_the_system_s_namespaces) {
    EXPECT_EQ(replay::prepare_mutex_name(GetParam().name, GetParam().major_version), GetParam().prepared);
}

INSTANTIATE_TEST_SUITE_P(
    names, prepared_mutex_name,
    testing::Values(name_case{"Tallowmere.Installation", 5, "Global\\Tallowmere.Installation"},
                    name_case{"Tallowmere.Installation", 10, "Global\\Tallowmere.Installation"},
                    name_case{"Local\\x", 6, "Local\\x"},
                    name_case{"Global\\x", 6, "Global\\x"},
                    name_case{"a\\b\\c", 6, "a\\b\\c"},
                    name_case{"", 6, "Global\\"},
                    name_case{"Global\\x", 4, "x"},
                    name_case{"a\\b\\c", 4, "c"},
                    name_case{"x", 4, "x"},
                    name_case{"x\\", 4, ""},
                    name_case{"Global\\x", 0, "x"}));

}  // namespace
