// Placeholder until the payload command line lands: the three stages that build the
// setup program's command line.
#pragma once

#include <string>

namespace bootstrap {

struct split_command_text_result {
    std::string commandline;    // the command text with its "/V" option taken out
    std::string property_list;  // the text of that "/V" option
};

split_command_text_result split_command_text(const std::string& command_text);
std::string merge_parameters(const std::string& stored, const std::string& property_list,
                             const std::string& commandline);

}  // namespace bootstrap
