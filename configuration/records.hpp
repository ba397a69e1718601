// The product's configuration records: the suite as a whole, its update paths, its proxy
// settings, and the brand. Plain values; their XML archive form is in records_serialization.hpp.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace config {

// One entry of a suite's list of update paths.
struct update_impl {
    std::wstring m_name;
    std::wstring m_code;
    std::wstring m_local;
    std::int32_t m_update_mode = 0;
    std::int32_t m_update_type = 0;
};

// Proxy settings, held inside the suite record.
struct proxy_impl {
    bool m_proxy_enabled = false;
    std::wstring m_proxy_server;
    std::uint16_t m_proxy_port = 0;
};

// The class version under which a suite record is saved.
constexpr std::uint32_t suite_current_version = 3;

// The product suite as a whole.
struct suite_impl {
    std::wstring m_msg_system_data;
    std::wstring m_last_used_language;
    std::wstring m_product_id;
    std::wstring m_partner_id;
    std::wstring m_version;
    std::wstring m_suite_name;  // "Suite" after loading an archive of class version 0
    std::wstring m_suite_launcher_path;
    std::wstring m_suite_msgsys_path;
    std::wstring m_community_url;
    std::wstring m_service_name;
    std::wstring m_service_end_point;
    std::wstring m_update_end_point;
    std::wstring m_update_url;
    std::vector<update_impl> m_update_paths;
    proxy_impl m_proxy;
    std::string m_parameters;  // narrow text
    // The class version of the archive this record was last loaded from; the current
    // version for a record never loaded. Not part of the archive.
    std::uint32_t m_archive_version = suite_current_version;
};

// The brand and product names, filled from the program's string table at start-up.
struct brand_impl {
    std::wstring m_brand;
    std::wstring m_product_name;
};

// Member-by-member equality, every member included (m_archive_version too).
bool operator==(const update_impl& a, const update_impl& b);
bool operator==(const proxy_impl& a, const proxy_impl& b);
bool operator==(const suite_impl& a, const suite_impl& b);
bool operator==(const brand_impl& a, const brand_impl& b);

}  // namespace config
