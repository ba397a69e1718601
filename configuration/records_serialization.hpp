// The XML archive form of the configuration records, through Boost.Serialization. Each
// member is an element named like the member, in declaration order; m_archive_version is
// not stored. The serialisers exist for Boost's XML archives only: suite, update and proxy
// records load and save, the brand record only loads (see records_serialization.cpp).
#pragma once

#include "configuration/records.hpp"

#include <boost/serialization/level.hpp>
#include <boost/serialization/tracking.hpp>
#include <boost/serialization/version.hpp>

namespace config {

// Boost.Serialization's entry points for the records, found by argument-dependent lookup
// when a record goes into or comes out of an archive. Loading a suite record of class
// version v: before version 1 there is no "m_suite_name" element and the name becomes
// "Suite"; before version 2 there is no "m_parameters" element and the member keeps its
// value; m_archive_version becomes v. Saving always writes the current version's
// elements. A malformed archive throws boost::archive::archive_exception (or its XML
// variant), and wide text that is no text of the current locale throws
// boost::archive::iterators::dataflow_exception, as the archive's own conversion does;
// either leaves the record partly filled. A zero byte in wide text loads as a wide zero.
template <class Archive>
void serialize(Archive& archive, suite_impl& record, unsigned int version);
template <class Archive>
void serialize(Archive& archive, update_impl& record, unsigned int version);
template <class Archive>
void serialize(Archive& archive, proxy_impl& record, unsigned int version);
template <class Archive>
void serialize(Archive& archive, brand_impl& record, unsigned int version);

// The update paths as Boost's standard collection ("count", "item_version", one "item"
// per entry). Loading reads the items one by one, so that memory grows only with the items
// the text holds: a count beyond them ends in an archive error at the first missing item,
// whatever the count says. Found by argument-dependent lookup before Boost's own vector
// serialisation, which sizes the vector to the count before reading a single item.
template <class Archive>
void serialize(Archive& archive, std::vector<update_impl>& paths, unsigned int version);

}  // namespace config

// Class information (with the version) goes out with the first object of each class, and
// an object is tracked only when the archive also holds it through a pointer: Boost's
// defaults for all four records. Only the suite record has moved past version 0.
BOOST_CLASS_VERSION(config::suite_impl, config::suite_current_version)
