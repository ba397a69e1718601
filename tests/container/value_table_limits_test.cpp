// Hostile tables: long chains of references and references that multiply.
#include "container/value_table.hpp"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>

namespace {

std::string reference(int i) { return "%v" + std::to_string(i) + "%"; }

TEST(expand_values_limits, a_long_chain_stops_at_the_depth_limit_instead_of_the_stack) {
    container::value_table values;
    const int chain = 100000;
    for (int i = 0; i < chain; ++i)
        values.add("v" + std::to_string(i), reference(i + 1));
    values.add("v" + std::to_string(chain), "end");

    const std::string expanded = container::expand_values(reference(0), values);
    EXPECT_EQ(expanded, reference(static_cast<int>(container::max_expansion_depth)));

    container::value_table short_chain;
    short_chain.add("a", "%b%");
    short_chain.add("b", "end");
    EXPECT_EQ(container::expand_values("%a%", short_chain), "end");
}

TEST(expand_values_limits, references_that_multiply_end_in_a_length_error) {
    container::value_table values;
    // Each level doubles eight times: 8^20 copies would never fit in memory.
    const std::string eight_times = "%n%%n%%n%%n%%n%%n%%n%%n%";
    for (int level = 0; level < 20; ++level) {
        std::string text = eight_times;
        for (std::size_t at = text.find("%n%"); at != std::string::npos; at = text.find("%n%", at + 1))
            text.replace(at, 3, reference(level + 1));
        values.add("v" + std::to_string(level), text);
    }
    values.add("v20", "x");
    EXPECT_THROW(container::expand_values(reference(0), values), std::length_error);
}

}  // namespace
