// Entries at the exception level: the text describes the exception being handled, by
// kind, and the caller's handler keeps its exception.
#include "support/exceptions/exception_w.hpp"
#include "support/exceptions/unicode_errors.hpp"
#include "support/log/dispatcher.hpp"
#include "support/log/memory_listener.hpp"
#include "support/log/proxy.hpp"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <stdexcept>
#include <string>

namespace {

namespace log = replay::log;
using entries = std::vector<log::memory_listener::entry>;

struct thrower_case {
    const char* name;
    std::function<void()> raise;
    const char* text;
};

class exception_level : public testing::TestWithParam<thrower_case> {};

TEST_P(exception_level, describes_the_exception_being_handled) {
    log::dispatcher dispatcher;
    auto& memory = dispatcher.add(5, std::make_unique<log::memory_listener>());
    try {
        GetParam().raise();
    } catch (...) {
        dispatcher.log(5, L"while testing");
    }
    EXPECT_EQ(memory.entries(), (entries{{5, GetParam().text}}));
}

INSTANTIATE_TEST_SUITE_P(
    kinds, exception_level,
    testing::Values(
        thrower_case{"invalid_codepage", [] { throw replay::unicode::invalid_codepage(""); },
                     "while testing exception: unicode.invalid_codepage[]"},
        thrower_case{"exception_w", [] { throw replay::exception_w(L"wide %ls %d", L"caf\u00e9", 7); },
                     "while testing Exception: [wide caf\xC3\xA9 7]"},
        thrower_case{"exception", [] { throw replay::exception(std::string("plain")); },
                     "while testing exception: [plain]"},
        thrower_case{"standard", [] { throw std::logic_error("logic"); },
                     "while testing exception: logic"},
        thrower_case{"not_standard", [] { throw 42; }, "while testing unknown exception caught"},
        thrower_case{"not_standard_text", [] { throw "text"; },
                     "while testing unknown exception caught"}),
    [](const testing::TestParamInfo<thrower_case>& info) { return std::string(info.param.name); });

TEST(exception_level, leaves_the_callers_exception_in_place) {
    log::dispatcher dispatcher;
    dispatcher.add(0, std::make_unique<log::memory_listener>());
    try {
        try {
            throw replay::unicode::unmappable_character("kept");
        } catch (...) {
            dispatcher.log(5, L"described");
            throw;
        }
    } catch (const replay::unicode::unmappable_character& error) {
        EXPECT_STREQ(error.what(), "unicode.unmappable_character[kept]");
        return;
    } catch (...) {
    }
    ADD_FAILURE() << "the caller's exception was lost";
}

// Level 5 outside a handler has nothing to describe: the message stands alone rather
// than ending the process.
TEST(exception_level, outside_a_handler_keeps_the_message) {
    log::dispatcher dispatcher;
    auto& memory = dispatcher.add(0, std::make_unique<log::memory_listener>());
    dispatcher.log(5, L"no exception");
    EXPECT_EQ(memory.entries(), (entries{{5, "no exception"}}));
}

TEST(proxy, forwards_with_its_prefix_at_the_same_level) {
    log::dispatcher target;
    auto& forwarded = target.add(2, std::make_unique<log::memory_listener>());
    log::dispatcher source;
    source.add(0, std::make_unique<log::proxy>(target, "[module \xC3\xA9] "));

    source.log(1, L"too low for the target");
    source.log(3, L"text \u20ac");

    EXPECT_EQ(forwarded.entries(), (entries{{3, "[module \xC3\xA9] text \xE2\x82\xAC"}}));
}

TEST(proxy, an_exception_entry_is_described_again_by_the_target) {
    log::dispatcher target;
    auto& forwarded = target.add(0, std::make_unique<log::memory_listener>());
    log::dispatcher source;
    auto& local = source.add(0, std::make_unique<log::memory_listener>());
    source.add(0, std::make_unique<log::proxy>(target, "p: "));

    try {
        throw std::runtime_error("boom");
    } catch (...) {
        source.log(5, L"failed");
    }

    EXPECT_EQ(local.entries(), (entries{{5, "failed exception: boom"}}));
    EXPECT_EQ(forwarded.entries(), (entries{{5, "p: failed exception: boom exception: boom"}}));
}

}  // namespace
