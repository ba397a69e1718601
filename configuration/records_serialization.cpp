// The configuration records' serialisers for Boost's XML archives, their registration
// with Boost.Serialization before main, and the process-wide brand record, defined here
// so that every program that reads the brand carries the registrations along.
#include "configuration/records_serialization.hpp"

#include "configuration/brand.hpp"

#include <boost/archive/detail/iserializer.hpp>
#include <boost/archive/detail/oserializer.hpp>
#include <boost/archive/iterators/dataflow_exception.hpp>
#include <boost/archive/xml_iarchive.hpp>
#include <boost/archive/xml_oarchive.hpp>
#include <boost/serialization/collection_size_type.hpp>
#include <boost/serialization/collections_save_imp.hpp>
#include <boost/serialization/item_version_type.hpp>
#include <boost/serialization/library_version_type.hpp>
#include <boost/serialization/nvp.hpp>
#include <boost/serialization/singleton.hpp>
#include <boost/serialization/string.hpp>
#include <boost/serialization/vector.hpp>

#include <cwchar>

namespace config {

brand_impl brand;

using boost::serialization::make_nvp;

namespace {

// The element's text converted character by character from the multibyte characters of the
// current locale, as the XML archive converts wide strings. A zero byte is the wide zero
// character: Boost 1.74's own conversion never moves past it and appends wide zeros until
// memory runs out, which is why wide text is not left to it.
std::wstring widen(const std::string& text) {
    std::wstring wide;
    std::mbstate_t state{};
    for (std::size_t at = 0; at < text.size();) {
        wchar_t character = 0;
        const std::size_t used = std::mbrtowc(&character, text.data() + at, text.size() - at, &state);
        if (used == static_cast<std::size_t>(-1) || used == static_cast<std::size_t>(-2))
            throw boost::archive::iterators::dataflow_exception(
                boost::archive::iterators::dataflow_exception::invalid_conversion);
        at += used == 0 ? 1 : used;
        wide += character;
    }
    return wide;
}

// A wide text member: saved by the archive, loaded as the element's narrow text and
// converted by widen(). The element is the same either way.
template <class Archive>
void wide_member(Archive& archive, const char* name, std::wstring& text) {
    if constexpr (Archive::is_loading::value) {
        std::string narrow;
        archive >> make_nvp(name, narrow);
        text = widen(narrow);
    } else {
        archive << make_nvp(name, text);
    }
}

}  // namespace

template <class Archive>
void serialize(Archive& archive, suite_impl& record, const unsigned int version) {
    wide_member(archive, "m_msg_system_data", record.m_msg_system_data);
    wide_member(archive, "m_last_used_language", record.m_last_used_language);
    wide_member(archive, "m_product_id", record.m_product_id);
    wide_member(archive, "m_partner_id", record.m_partner_id);
    wide_member(archive, "m_version", record.m_version);
    // Saving always runs with the current version, so these gates only ever skip on load.
    if (version >= 1)
        wide_member(archive, "m_suite_name", record.m_suite_name);
    else
        record.m_suite_name = L"Suite";
    wide_member(archive, "m_suite_launcher_path", record.m_suite_launcher_path);
    wide_member(archive, "m_suite_msgsys_path", record.m_suite_msgsys_path);
    wide_member(archive, "m_community_url", record.m_community_url);
    wide_member(archive, "m_service_name", record.m_service_name);
    wide_member(archive, "m_service_end_point", record.m_service_end_point);
    wide_member(archive, "m_update_end_point", record.m_update_end_point);
    wide_member(archive, "m_update_url", record.m_update_url);
    archive& make_nvp("m_update_paths", record.m_update_paths);
    archive& make_nvp("m_proxy", record.m_proxy);
    if (version >= 2)
        archive& make_nvp("m_parameters", record.m_parameters);
    if constexpr (Archive::is_loading::value)
        record.m_archive_version = version;
}

template <class Archive>
void serialize(Archive& archive, update_impl& record, const unsigned int) {
    wide_member(archive, "m_name", record.m_name);
    wide_member(archive, "m_code", record.m_code);
    wide_member(archive, "m_local", record.m_local);
    archive& make_nvp("m_update_mode", record.m_update_mode);
    archive& make_nvp("m_update_type", record.m_update_type);
}

template <class Archive>
void serialize(Archive& archive, proxy_impl& record, const unsigned int) {
    archive& make_nvp("m_proxy_enabled", record.m_proxy_enabled);
    wide_member(archive, "m_proxy_server", record.m_proxy_server);
    archive& make_nvp("m_proxy_port", record.m_proxy_port);
}

template <class Archive>
void serialize(Archive& archive, brand_impl& record, const unsigned int) {
    wide_member(archive, "m_brand", record.m_brand);
    wide_member(archive, "m_product_name", record.m_product_name);
}

template <class Archive>
void serialize(Archive& archive, std::vector<update_impl>& paths, const unsigned int) {
    if constexpr (Archive::is_loading::value) {
        boost::serialization::collection_size_type count;
        boost::serialization::item_version_type item_version(0);
        archive >> make_nvp("count", count);
        if (boost::serialization::library_version_type(3) < archive.get_library_version())
            archive >> make_nvp("item_version", item_version);
        paths.clear();
        for (std::size_t left = count; left > 0; --left) {
            update_impl item;
            archive >> make_nvp("item", item);
            paths.push_back(std::move(item));
            archive.reset_object_address(&paths.back(), &item);
        }
    } else {
        boost::serialization::stl::save_collection(archive, static_cast<const std::vector<update_impl>&>(paths));
    }
}

using boost::archive::xml_iarchive;
using boost::archive::xml_oarchive;

template void serialize(xml_iarchive&, std::vector<update_impl>&, unsigned int);
template void serialize(xml_oarchive&, std::vector<update_impl>&, unsigned int);
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
