// Equality of the configuration records.
#include "configuration/records.hpp"

#include <tuple>

namespace config {

namespace {

auto members(const update_impl& r) {
    return std::tie(r.m_name, r.m_code, r.m_local, r.m_update_mode, r.m_update_type);
}

auto members(const proxy_impl& r) { return std::tie(r.m_proxy_enabled, r.m_proxy_server, r.m_proxy_port); }

auto members(const suite_impl& r) {
    return std::tie(r.m_msg_system_data, r.m_last_used_language, r.m_product_id, r.m_partner_id, r.m_version,
                    r.m_suite_name, r.m_suite_launcher_path, r.m_suite_msgsys_path, r.m_community_url,
                    r.m_service_name, r.m_service_end_point, r.m_update_end_point, r.m_update_url,
                    r.m_update_paths, r.m_proxy, r.m_parameters, r.m_archive_version);
}

auto members(const brand_impl& r) { return std::tie(r.m_brand, r.m_product_name); }

}  // namespace

bool operator==(const update_impl& a, const update_impl& b) { return members(a) == members(b); }
bool operator==(const proxy_impl& a, const proxy_impl& b) { return members(a) == members(b); }
bool operator==(const suite_impl& a, const suite_impl& b) { return members(a) == members(b); }
bool operator==(const brand_impl& a, const brand_impl& b) { return members(a) == members(b); }

}  // namespace config
