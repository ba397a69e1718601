// Helpers of the record tests: records to XML archive text and back, and the
// hand-written archives kept beside the tests.
#pragma once

#include "configuration/records_serialization.hpp"

#include <boost/archive/xml_iarchive.hpp>
#include <boost/archive/xml_oarchive.hpp>
#include <boost/serialization/nvp.hpp>

#include <fstream>
#include <sstream>
#include <stdexcept>
#include <string>

namespace config_test {

// The XML archive of one record stored under the element `name`.
template <class Record>
std::string save_text(const Record& record, const char* name = "record") {
    std::ostringstream out;
    {
        boost::archive::xml_oarchive archive(out);
        archive << boost::serialization::make_nvp(name, record);
    }  // the archive writes its closing tag when it goes
    return out.str();
}

// Loads `record` from archive text holding it under the element `name`.
template <class Record>
void load_text(const std::string& text, Record& record, const char* name = "record") {
    std::istringstream in(text);
    boost::archive::xml_iarchive archive(in);
    archive >> boost::serialization::make_nvp(name, record);
}

// The text of tests/configuration/archives/<file>.
inline std::string archive_file(const std::string& file) {
    std::string path = __FILE__;
    path = path.substr(0, path.find_last_of("/\\") + 1) + "archives/" + file;
    std::ifstream in(path, std::ios::binary);
    if (!in)
        throw std::runtime_error("cannot open " + path);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

}  // namespace config_test
