// The three stages that build the setup program's command line.
#include "bootstrap/payload_command_line.hpp"

#include "support/text/strings.hpp"

namespace bootstrap {

namespace {

constexpr const char* option_v = "/V";
constexpr const char* quoted_option_v = "/V\"";
constexpr std::size_t quoted_option_v_length = 3;
constexpr std::size_t option_v_length = 2;

}  // namespace

split_command_text_result split_command_text(const std::string& command_text) {
    // Searches run on an upper-cased copy of the same length, so that "/v" counts and
    // every position found there cuts the original text with its letter case intact.
    const std::string upper = replay::upper_copy(command_text);
    const std::size_t option = upper.find(option_v);
    if (option == std::string::npos)
        return {command_text, {}};

    split_command_text_result result;
    std::string rest = command_text;
    const std::size_t quoted = upper.find(quoted_option_v);
    if (quoted == std::string::npos) {
        std::size_t end = upper.find(" /", option);
        if (end == std::string::npos)
            end = command_text.size();
        result.property_list = command_text.substr(option + option_v_length, end - option - option_v_length);
        rest.erase(option, end - option);
    } else {
        // Quotes are not escaped: the first one after the opening ends the list.
        const std::size_t list = quoted + quoted_option_v_length;
        const std::size_t closing = upper.find('"', list);
        if (closing == std::string::npos) {
            result.property_list = command_text.substr(list);
            rest.erase(quoted);
        } else {
            result.property_list = command_text.substr(list, closing - list);
            rest.erase(quoted, closing + 1 - quoted);
        }
    }
    result.commandline = std::move(rest);
    return result;
}

std::string merge_parameters(const std::string& stored, const std::string& property_list,
                             const std::string& commandline) {
    std::string parameters = stored;
    const std::size_t option = parameters.find(option_v);
    const std::size_t quoted = parameters.find(quoted_option_v);
    if (option == std::string::npos)
        parameters += std::string(quoted_option_v) + property_list + '"';
    else if (quoted != std::string::npos)
        parameters.insert(quoted + quoted_option_v_length, property_list + ' ');
    else
        parameters.insert(option + option_v_length, '"' + property_list + '"');
    return commandline + ' ' + parameters;
}

std::string prefix_language(const std::string& launch_text, const std::string& language_tag) {
    if (language_tag.empty() || replay::has_switch("/L", launch_text))
        return launch_text;
    return "/L" + language_tag + ' ' + launch_text;
}

}  // namespace bootstrap
