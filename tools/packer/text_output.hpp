// How the tool prints names and listings: escaped text for terminals, and JSON.
#pragma once

#include "support/report/reporter.hpp"
#include "tools/packer/inspect.hpp"

#include <ostream>
#include <string>

namespace tools {

// `text` with control bytes written as \xNN, so that stored names cannot move the cursor.
std::string printable(const std::string& text);

// A JSON string literal for `text`. Bytes from 128 up are taken as Latin-1 code points
// (\u0080 to \u00ff), since stored texts carry no encoding of their own.
std::string json_string(const std::string& text);

// The listing as an aligned table with a closing summary line.
void print_listing(std::ostream& out, const listing& result);

// The listing as one JSON object.
void print_listing_json(std::ostream& out, const std::string& path, const listing& result);

// Shows messages of the container reader on a stream as "packer: CAPTION: TEXT", the
// text's line breaks indented.
class stream_reporter : public replay::reporter {
public:
    explicit stream_reporter(std::ostream& out) : out_(out) {}
    void report(const std::string& caption, const std::string& text) override;

private:
    std::ostream& out_;
};

}  // namespace tools
