// Fuzzes loading the configuration records from random XML archive text. The first byte
// picks the record; the rest is the archive. Boost.Serialization's archive errors and its
// conversion error for wide text that is no text of the locale are the expected refusals;
// any other exception escapes and is reported as a finding. A suite record that loads must
// save and load back equal.
//
// Records are loaded by value only. Boost 1.74 takes the class and object ids of an
// element loaded through a pointer from the text and indexes its own tables with them
// unchecked (a pointer element without a class_id attribute is enough to crash it), so
// pointer loads of untrusted text cannot be made safe from our side and are left out.
#include "configuration/records_serialization.hpp"

#include <boost/archive/archive_exception.hpp>
#include <boost/archive/iterators/dataflow_exception.hpp>
#include <boost/archive/xml_iarchive.hpp>
#include <boost/archive/xml_oarchive.hpp>
#include <boost/serialization/nvp.hpp>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <sstream>
#include <string>

namespace {

using boost::serialization::make_nvp;

void require(bool condition, const char* what) {
    if (!condition) {
        std::fprintf(stderr, "configuration_records: %s\n", what);
        std::abort();
    }
}

// Once a record has loaded, the archive's destructor reads the closing tag of the whole
// archive and, in Boost 1.74, throws from the destructor when the text ends before the next
// '>' (boostorg/serialization issues 82 and 220), which terminates the program. Two '>'
// after the text, one for the record's own closing tag and one for the archive's, let it
// end quietly; whatever the text itself holds is read as before.
template <class Record>
void load_value(const std::string& text, Record& record) {
    std::istringstream in(text + ">>");
    boost::archive::xml_iarchive archive(in);
    archive >> make_nvp("record", record);
}

// What a loaded suite must survive: saving it (always as the current version) and
// loading that text again gives the same record.
void check_round_trip(config::suite_impl loaded) {
    std::ostringstream out;
    {
        boost::archive::xml_oarchive archive(out);
        archive << make_nvp("record", static_cast<const config::suite_impl&>(loaded));
    }
    config::suite_impl again;
    load_value(out.str(), again);
    loaded.m_archive_version = config::suite_current_version;
    require(again == loaded, "a loaded suite record does not survive a save and a load");
}

void load(std::uint8_t choice, const std::string& text) {
    switch (choice % 4) {
    case 0: {
        config::suite_impl suite;
        load_value(text, suite);
        check_round_trip(suite);
        break;
    }
    case 1: {
        config::brand_impl brand;
        load_value(text, brand);
        break;
    }
    case 2: {
        config::update_impl update;
        load_value(text, update);
        break;
    }
    default: {
        config::proxy_impl proxy;
        load_value(text, proxy);
        break;
    }
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0)
        return 0;
    const std::string text(reinterpret_cast<const char*>(data) + 1, size - 1);
    try {
        load(data[0], text);
    } catch (const boost::archive::archive_exception&) {
        // The archive was refused: the outcome the records promise for malformed text.
    } catch (const boost::archive::iterators::dataflow_exception&) {
        // Wide text the locale cannot convert, refused as the archive itself refuses it.
    }
    return 0;
}
