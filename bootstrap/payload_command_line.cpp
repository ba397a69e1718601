// Placeholder until the payload command line lands.
#include "bootstrap/payload_command_line.hpp"

namespace bootstrap {

split_command_text_result split_command_text(const std::string& command_text) { return {command_text, {}}; }

std::string merge_parameters(const std::string& stored, const std::string&, const std::string&) { return stored; }

}  // namespace bootstrap
