// Wide text in archives that no saved record holds: zero bytes, bytes that are no
// characters of the locale, characters cut off at the end. Each ends in a finished load
// or in the archive's conversion error, never in a loop that eats memory.
#include "configuration/records.hpp"

#include "tests/configuration/archive_text.hpp"

#include <boost/archive/iterators/dataflow_exception.hpp>

#include <gtest/gtest.h>

#include <clocale>
#include <cwchar>
#include <string>

namespace {

std::string brand_archive(const std::string& product_name) {
    std::string text = config_test::archive_file("brand.xml");
    const std::string name = "<m_product_name>Tallowmere</m_product_name>";
    const auto at = text.find(name);
    EXPECT_NE(at, std::string::npos);
    return text.replace(at, name.size(), "<m_product_name>" + product_name + "</m_product_name>");
}

TEST(records_hostile_text, a_zero_byte_in_wide_text_is_one_wide_zero_character) {
    config::brand_impl brand;
    config_test::load_text(brand_archive(std::string("Tallow\0mere", 11)), brand, "brand");
    EXPECT_EQ(brand.m_product_name, std::wstring(L"Tallow\0mere", 11));
}

TEST(records_hostile_text, a_byte_above_127_converts_as_the_locale_says_or_is_refused) {
    // The "C" locale of the C library here may or may not give such a byte a character.
    std::mbstate_t state{};
    wchar_t character = 0;
    const bool converts = std::mbrtowc(&character, "\xe9", 1, &state) == 1;
    config::brand_impl brand;
    if (converts) {
        config_test::load_text(brand_archive("Tallow\xe9mere"), brand, "brand");
        EXPECT_EQ(brand.m_product_name, L"Tallow" + std::wstring(1, character) + L"mere");
    } else {
        EXPECT_THROW(config_test::load_text(brand_archive("Tallow\xe9mere"), brand, "brand"),
                     boost::archive::iterators::dataflow_exception);
    }
}

// Runs with the character type of the named locale, restoring the one before.
class with_locale {
public:
    explicit with_locale(const char* name) : before_(std::setlocale(LC_CTYPE, nullptr)) {
        active_ = std::setlocale(LC_CTYPE, name) != nullptr;
    }
    ~with_locale() { std::setlocale(LC_CTYPE, before_.c_str()); }
    bool active() const { return active_; }

private:
    std::string before_;
    bool active_ = false;
};

TEST(records_hostile_text, a_character_cut_off_at_the_end_of_wide_text_is_refused) {
    with_locale utf8("C.UTF-8");
    if (!utf8.active())
        GTEST_SKIP() << "no UTF-8 locale here to make a multibyte character";
    config::brand_impl brand;
    config_test::load_text(brand_archive("Tallowm\xc3\xa9re"), brand, "brand");
    EXPECT_EQ(brand.m_product_name, L"Tallowm\u00e9re");
    // The first byte of a two-byte character, then the end of the element's text.
    EXPECT_THROW(config_test::load_text(brand_archive("Tallowm\xc3"), brand, "brand"),
                 boost::archive::iterators::dataflow_exception);
}

}  // namespace
