// The recorded installation language read from the real registry: a product's uninstall
// key made and removed by the tests with the raw API.
#include "bootstrap/language.hpp"
#include "bootstrap/payload_command_line.hpp"
#include "support/exceptions/registry_errors.hpp"
#include "support/win/windows.hpp"

#include <gtest/gtest.h>

#include <string>

namespace {

class installed_language : public testing::Test {
protected:
    void SetUp() override {
        product_ = L"Replay Language Test " + std::to_wstring(::GetCurrentProcessId());
        path_ = L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\" + product_;
    }

    void TearDown() override { ::RegDeleteKeyW(HKEY_LOCAL_MACHINE, path_.c_str()); }

    void create_key() {
        HKEY key = nullptr;
        ASSERT_EQ(::RegCreateKeyExW(HKEY_LOCAL_MACHINE, path_.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key,
                                    nullptr),
                  ERROR_SUCCESS);
        ::RegCloseKey(key);
    }

    void store(DWORD type, const void* data, DWORD size) {
        create_key();
        ASSERT_EQ(::RegSetKeyValueW(HKEY_LOCAL_MACHINE, path_.c_str(), L"InstallerLanguage", type, data, size),
                  ERROR_SUCCESS);
    }

    void store_text(DWORD type, const std::wstring& text) {
        store(type, text.c_str(), static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)));
    }

    // The run's step 13: any failure leaves the launch text as it was.
    std::string prefixed(const std::string& launch_text) {
        try {
            return bootstrap::prefix_language(launch_text, bootstrap::installed_language(product_));
        } catch (...) {
            return launch_text;
        }
    }

    std::wstring product_;
    std::wstring path_;
};

TEST_F(installed_language, names_the_product_s_uninstall_key) {
    EXPECT_EQ(bootstrap::uninstall_key_path(product_), path_);
}

TEST_F(installed_language, reads_the_recorded_tag) {
    store_text(REG_SZ, L"1033");
    EXPECT_EQ(bootstrap::installed_language(product_), "1033");
    EXPECT_EQ(prefixed(" /V\"\""), "/L1033  /V\"\"");
}

TEST_F(installed_language, expands_a_reg_expand_sz_tag) {
    ASSERT_TRUE(::SetEnvironmentVariableW(L"REPLAY_LANGUAGE_TEST", L"1031"));
    store_text(REG_EXPAND_SZ, L"%REPLAY_LANGUAGE_TEST%");
    EXPECT_EQ(bootstrap::installed_language(product_), "1031");
}

TEST_F(installed_language, missing_key_raises_a_key_error_and_adds_no_prefix) {
    EXPECT_THROW(bootstrap::installed_language(product_), replay::registry2::key_error);
    EXPECT_EQ(prefixed("/s /V\"\""), "/s /V\"\"");
}

TEST_F(installed_language, missing_value_raises_a_value_error_and_adds_no_prefix) {
    create_key();
    EXPECT_THROW(bootstrap::installed_language(product_), replay::registry2::value_error);
    EXPECT_EQ(prefixed("/s /V\"\""), "/s /V\"\"");
}

TEST_F(installed_language, number_value_raises_a_type_mismatch_and_adds_no_prefix) {
    const DWORD number = 1033;
    store(REG_DWORD, &number, sizeof(number));
    EXPECT_THROW(bootstrap::installed_language(product_), replay::registry2::type_mismatch);
    EXPECT_EQ(prefixed("/s /V\"\""), "/s /V\"\"");
}

TEST_F(installed_language, empty_value_adds_no_prefix) {
    store_text(REG_SZ, L"");
    EXPECT_EQ(bootstrap::installed_language(product_), "");
    EXPECT_EQ(prefixed("/s /V\"\""), "/s /V\"\"");
}

}  // namespace
