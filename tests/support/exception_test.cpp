// The error objects' kind paths, messages and composed texts, and catching by family.
#include "support/exceptions/exception.hpp"
#include "support/exceptions/exception_w.hpp"
#include "support/exceptions/registry_errors.hpp"
#include "support/exceptions/unicode_errors.hpp"

#include <gtest/gtest.h>

#include <functional>
#include <string>

namespace {

using replay::exception;
namespace registry2 = replay::registry2;
namespace unicode = replay::unicode;

struct composed_case {
    const char* label;
    std::function<void()> raise;
    const char* kind;
    const char* message;
    const char* what;
};

void PrintTo(const composed_case& c, std::ostream* os) { *os << c.label; }

class composed_text : public testing::TestWithParam<composed_case> {};

// Every object is thrown and caught by the root, as the run's handler sees it.
TEST_P(composed_text, kind_message_and_what) {
    const composed_case& c = GetParam();
    try {
        c.raise();
        FAIL() << "nothing thrown";
    } catch (const exception& e) {
        EXPECT_STREQ(e.kind(), c.kind);
        EXPECT_STREQ(e.message(), c.message);
        EXPECT_STREQ(e.what(), c.what);
    }
}

template <typename Error>
std::function<void()> raise(const char* message) {
    return [message] { throw Error(std::string(message)); };
}

INSTANTIATE_TEST_SUITE_P(
    classes, composed_text,
    testing::Values(
        composed_case{"plain", raise<exception>("abc"), "", "abc", "[abc]"},
        composed_case{"plain_empty", raise<exception>(""), "", "", "[]"},
        composed_case{"plain_percent_kept", raise<exception>("100%s"), "", "100%s", "[100%s]"},
        composed_case{"formatted", [] { throw exception("OpenMutex returned 0x%08x", 0x120u); }, "",
                      "OpenMutex returned 0x00000120", "[OpenMutex returned 0x00000120]"},
        composed_case{"formatted_resource", [] { throw exception("resource string %d is not found", 2002); }, "",
                      "resource string 2002 is not found", "[resource string 2002 is not found]"},
        composed_case{"wide", [] { throw replay::exception_w(L"start-up failed: %ls (%d)", L"dumps", 5); }, "",
                      "start-up failed: dumps (5)", "[start-up failed: dumps (5)]"},
        composed_case{"registry_generic", raise<registry2::generic>("abc"), "registry2", "abc", "registry2[abc]"},
        composed_case{"key_error", raise<registry2::key_error>("abc"), "registry2.key_error", "abc",
                      "registry2.key_error[abc]"},
        composed_case{"value_error", raise<registry2::value_error>("Not found: value \"InstallerLanguage\""),
                      "registry2.value_error", "Not found: value \"InstallerLanguage\"",
                      "registry2.value_error[Not found: value \"InstallerLanguage\"]"},
        composed_case{"type_mismatch", raise<registry2::type_mismatch>("Type mismatch: value \"v\" expected 1 found 4"),
                      "registry2.type_mismatch", "Type mismatch: value \"v\" expected 1 found 4",
                      "registry2.type_mismatch[Type mismatch: value \"v\" expected 1 found 4]"},
        composed_case{"size_mismatch", raise<registry2::size_mismatch>("abc"), "registry2.size_mismatch", "abc",
                      "registry2.size_mismatch[abc]"},
        composed_case{"unicode_generic", raise<unicode::generic>(""), "unicode", "", "unicode[]"},
        composed_case{"out_of_memory", raise<unicode::out_of_memory>(""), "unicode.out_of_memory", "",
                      "unicode.out_of_memory[]"},
        composed_case{"invalid_codepage", raise<unicode::invalid_codepage>(""), "unicode.invalid_codepage", "",
                      "unicode.invalid_codepage[]"},
        composed_case{"unmappable_character", raise<unicode::unmappable_character>(""),
                      "unicode.unmappable_character", "", "unicode.unmappable_character[]"},
        composed_case{"unmappable_with_message", raise<unicode::unmappable_character>("abc"),
                      "unicode.unmappable_character", "abc", "unicode.unmappable_character[abc]"}),
    [](const testing::TestParamInfo<composed_case>& info) { return std::string(info.param.label); });

// Which handler of a chain ordered like a careful caller's catches each class.
enum class caught_by { registry_family, unicode_family, root };

struct family_case {
    const char* label;
    std::function<void()> raise;
    caught_by expected;
};

void PrintTo(const family_case& c, std::ostream* os) { *os << c.label; }

class family_root : public testing::TestWithParam<family_case> {};

TEST_P(family_root, catches_every_member_of_its_family) {
    const family_case& c = GetParam();
    caught_by where;
    try {
        c.raise();
        FAIL() << "nothing thrown";
    } catch (const registry2::generic&) {
        where = caught_by::registry_family;
    } catch (const unicode::generic&) {
        where = caught_by::unicode_family;
    } catch (const exception&) {
        where = caught_by::root;
    }
    EXPECT_EQ(where, c.expected);
    EXPECT_THROW(c.raise(), std::exception);
}

INSTANTIATE_TEST_SUITE_P(
    classes, family_root,
    testing::Values(family_case{"key_error", raise<registry2::key_error>("m"), caught_by::registry_family},
                    family_case{"value_error", raise<registry2::value_error>("m"), caught_by::registry_family},
                    family_case{"type_mismatch", raise<registry2::type_mismatch>("m"), caught_by::registry_family},
                    family_case{"size_mismatch", raise<registry2::size_mismatch>("m"), caught_by::registry_family},
                    family_case{"unicode_generic", raise<unicode::generic>(""), caught_by::unicode_family},
                    family_case{"out_of_memory", raise<unicode::out_of_memory>(""), caught_by::unicode_family},
                    family_case{"invalid_codepage", raise<unicode::invalid_codepage>(""), caught_by::unicode_family},
                    family_case{"unmappable_character", raise<unicode::unmappable_character>(""),
                                caught_by::unicode_family},
                    family_case{"plain", raise<exception>("m"), caught_by::root},
                    family_case{"wide", [] { throw replay::exception_w(L"m"); }, caught_by::root}),
    [](const testing::TestParamInfo<family_case>& info) { return std::string(info.param.label); });

TEST(exception, formatted_message_of_5000_characters_is_kept_whole) {
    const std::string long_text(5000, 'x');
    const exception e("%s", long_text.c_str());
    EXPECT_EQ(std::string(e.message()), long_text);
    EXPECT_EQ(std::string(e.what()), "[" + long_text + "]");

    const std::wstring long_wide(5000, L'y');
    const replay::exception_w w(L"%ls", long_wide.c_str());
    EXPECT_EQ(std::wstring(w.message_w()), long_wide);
    EXPECT_EQ(std::string(w.message()), std::string(5000, 'y'));
}

TEST(exception, what_twice_gives_the_same_text) {
    const registry2::key_error e("RegOpenKeyEx() failed: key \"x\" (2)");
    const std::string first = e.what();
    EXPECT_EQ(std::string(e.what()), first);
    EXPECT_EQ(first, "registry2.key_error[RegOpenKeyEx() failed: key \"x\" (2)]");
}

TEST(exception, copy_keeps_kind_and_message) {
    const registry2::size_mismatch original("Size mismatch: value \"v\" expected 8 found 10");
    const registry2::size_mismatch copy = original;
    EXPECT_STREQ(copy.kind(), "registry2.size_mismatch");
    EXPECT_STREQ(copy.what(), original.what());
}

TEST(exception_w, wide_texts_compose_with_an_empty_wide_kind) {
    const replay::exception_w e(L"code %d in %ls", 7, L"start-up");
    EXPECT_STREQ(e.kind_w(), L"");
    EXPECT_STREQ(e.message_w(), L"code 7 in start-up");
    EXPECT_STREQ(e.what_w(), L"[code 7 in start-up]");
    EXPECT_STREQ(e.what_w(), L"[code 7 in start-up]");
}

// Copies taken before and after the first narrow access give the same narrow texts as
// the original, and narrowing changes none of the wide ones.
TEST(exception_w, copies_before_and_after_narrowing_agree) {
    const replay::exception_w original(L"message %d", 1);
    const replay::exception_w fresh_copy = original;
    EXPECT_STREQ(original.message(), "message 1");
    const replay::exception_w narrowed_copy = original;

    for (const replay::exception_w* e : {&original, &fresh_copy, &narrowed_copy}) {
        EXPECT_STREQ(e->what(), "[message 1]");
        EXPECT_STREQ(e->kind(), "");
        EXPECT_STREQ(e->message(), "message 1");
        EXPECT_STREQ(e->message_w(), L"message 1");
        EXPECT_STREQ(e->what_w(), L"[message 1]");
    }
}

}  // namespace
