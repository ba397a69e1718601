// The configuration records' serialisers for Boost's XML archives, their registration
// with Boost.Serialization before main, and the process-wide brand record, defined here
// so that every program that reads the brand carries the registrations along.
#include "configuration/records_serialization.hpp"

#include "configuration/brand.hpp"

#include <boost/archive/detail/iserializer.hpp>
#include <boost/archive/detail/oserializer.hpp>
#include <boost/archive/xml_iarchive.hpp>
#include <boost/archive/xml_oarchive.hpp>
#include <boost/serialization/nvp.hpp>
#include <boost/serialization/singleton.hpp>
#include <boost/serialization/string.hpp>
#include <boost/serialization/vector.hpp>

namespace config {

brand_impl brand;

using boost::serialization::make_nvp;

template <class Archive>
void serialize(Archive& archive, suite_impl& record, const unsigned int version) {
    archive& make_nvp("m_msg_system_data", record.m_msg_system_data);
    archive& make_nvp("m_last_used_language", record.m_last_used_language);
    archive& make_nvp("m_product_id", record.m_product_id);
    archive& make_nvp("m_partner_id", record.m_partner_id);
    archive& make_nvp("m_version", record.m_version);
    // Saving always runs with the current version, so these gates only ever skip on load.
    if (version >= 1)
        archive& make_nvp("m_suite_name", record.m_suite_name);
    else
        record.m_suite_name = L"Suite";
    archive& make_nvp("m_suite_launcher_path", record.m_suite_launcher_path);
    archive& make_nvp("m_suite_msgsys_path", record.m_suite_msgsys_path);
    archive& make_nvp("m_community_url", record.m_community_url);
    archive& make_nvp("m_service_name", record.m_service_name);
    archive& make_nvp("m_service_end_point", record.m_service_end_point);
    archive& make_nvp("m_update_end_point", record.m_update_end_point);
    archive& make_nvp("m_update_url", record.m_update_url);
    archive& make_nvp("m_update_paths", record.m_update_paths);
    archive& make_nvp("m_proxy", record.m_proxy);
    if (version >= 2)
        archive& make_nvp("m_parameters", record.m_parameters);
    if constexpr (Archive::is_loading::value)
        record.m_archive_version = version;
}

template <class Archive>
void serialize(Archive& archive, update_impl& record, const unsigned int) {
    archive& make_nvp("m_name", record.m_name);
    archive& make_nvp("m_code", record.m_code);
    archive& make_nvp("m_local", record.m_local);
    archive& make_nvp("m_update_mode", record.m_update_mode);
    archive& make_nvp("m_update_type", record.m_update_type);
}

template <class Archive>
void serialize(Archive& archive, proxy_impl& record, const unsigned int) {
    archive& make_nvp("m_proxy_enabled", record.m_proxy_enabled);
    archive& make_nvp("m_proxy_server", record.m_proxy_server);
    archive& make_nvp("m_proxy_port", record.m_proxy_port);
}

template <class Archive>
void serialize(Archive& archive, brand_impl& record, const unsigned int) {
    archive& make_nvp("m_brand", record.m_brand);
    archive& make_nvp("m_product_name", record.m_product_name);
}

using boost::archive::xml_iarchive;
using boost::archive::xml_oarchive;

template void serialize(xml_iarchive&, suite_impl&, unsigned int);
template void serialize(xml_oarchive&, suite_impl&, unsigned int);
template void serialize(xml_iarchive&, update_impl&, unsigned int);
template void serialize(xml_oarchive&, update_impl&, unsigned int);
template void serialize(xml_iarchive&, proxy_impl&, unsigned int);
template void serialize(xml_oarchive&, proxy_impl&, unsigned int);
template void serialize(xml_iarchive&, brand_impl&, unsigned int);

}  // namespace config

// The registrations: instantiating a serialiser's singleton makes Boost construct it
// during static initialisation, and the constructor enters it in the archive's map.
// Which serialisers exist decides what an archive may do with a record (a pointer
// serialiser, for one, is what lets a record be loaded through a pointer).
namespace boost::serialization {

using boost::archive::xml_iarchive;
using boost::archive::xml_oarchive;
using boost::archive::detail::iserializer;
using boost::archive::detail::oserializer;
using boost::archive::detail::pointer_iserializer;

template class singleton<iserializer<xml_iarchive, config::suite_impl>>;
template class singleton<oserializer<xml_oarchive, config::suite_impl>>;
template class singleton<pointer_iserializer<xml_iarchive, config::suite_impl>>;
template class singleton<iserializer<xml_iarchive, config::update_impl>>;
template class singleton<oserializer<xml_oarchive, config::update_impl>>;
template class singleton<iserializer<xml_iarchive, config::proxy_impl>>;
template class singleton<oserializer<xml_oarchive, config::proxy_impl>>;
template class singleton<iserializer<xml_iarchive, config::brand_impl>>;
template class singleton<pointer_iserializer<xml_iarchive, config::brand_impl>>;
template class singleton<iserializer<xml_iarchive, std::vector<config::update_impl>>>;
template class singleton<oserializer<xml_oarchive, std::vector<config::update_impl>>>;

}  // namespace boost::serialization
