// The setup program's command line, built in three stages from the bootstrapper's command
// text, the stored "parameters" value and the language an earlier installation recorded.
// All three are pure functions over narrow text; positions count bytes.
#pragma once

#include <string>

namespace bootstrap {

struct split_command_text_result {
    std::string commandline;    // the command text with its "/V" option taken out
    std::string property_list;  // the text of that "/V" option
};

// Cuts the first "/V" option (either case of V) out of the command text. Quoted form
// (the first /V" anywhere, even after an unquoted /V): the list runs to the next double
// quote, or to the end when there is none, and the option with both quotes is removed.
// Unquoted form: the list runs from the "/V" to the next " /" or the end; the option is
// removed and the blank before the next option stays. Without "/V" the command text
// comes back whole with an empty list. Nothing is trimmed; letter case is kept.
split_command_text_result split_command_text(const std::string& command_text);

// The stored parameters with the property list merged into their "/V" option (capital V
// only): after the opening of the first /V" with a blank after the list; else quoted
// right after the first /V; else a whole /V"<list>" appended without a blank. The
// result is the commandline, one blank, then those parameters (the blank is there even
// when the commandline is empty).
std::string merge_parameters(const std::string& stored, const std::string& property_list,
                             const std::string& commandline);

// "/L", the language tag and one blank in front of the launch text, unless the tag is
// empty or the launch text already holds "/L" (capital L, anywhere, also in "/LOG").
std::string prefix_language(const std::string& launch_text, const std::string& language_tag);

}  // namespace bootstrap
