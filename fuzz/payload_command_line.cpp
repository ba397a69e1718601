// Fuzzes the payload command line: the /V split of a random command text, the merge into
// random stored parameters and the language prefix, checking what each stage must keep:
// the split only cuts one piece out of the text, the merge only inserts into the stored text.
#include "bootstrap/payload_command_line.hpp"
#include "fuzz/fuzz_input.hpp"
#include "support/text/strings.hpp"

#include <cstdio>
#include <cstdlib>

namespace {

void require(bool condition, const char* what) {
    if (!condition) {
        std::fprintf(stderr, "payload_command_line: %s\n", what);
        std::abort();
    }
}

bool starts_with(const std::string& text, const std::string& prefix) { return text.compare(0, prefix.size(), prefix) == 0; }

// The split takes out one piece, which opens with /V (either case) and holds the property
// list right after that opening, and leaves the rest of the text as it was, in order.
void check_split(const std::string& text, const bootstrap::split_command_text_result& split) {
    const std::string upper = replay::upper_copy(text);
    if (upper.find("/V") == std::string::npos) {
        require(split.commandline == text && split.property_list.empty(), "a text without /V was changed");
        return;
    }
    const std::string& rest = split.commandline;
    require(rest.size() < text.size(), "nothing was cut");
    std::size_t cut = 0;
    while (cut < rest.size() && rest[cut] == text[cut])
        ++cut;
    const std::size_t removed = text.size() - rest.size();
    // Where the piece starts is ambiguous inside repeated bytes; the earliest possible
    // start is the longest common prefix, and the first /V" (or else the first /V) is
    // what must have been taken.
    const std::size_t quoted = upper.find("/V\"");
    const std::size_t start = quoted != std::string::npos ? quoted : upper.find("/V");
    require(start <= cut, "the piece starts before the option");
    require(text.compare(0, start, rest, 0, start) == 0, "the text before the option changed");
    require(text.compare(start + removed, std::string::npos, rest, start, std::string::npos) == 0,
            "the text after the option changed");
    const std::string piece = text.substr(start, removed);
    if (quoted != std::string::npos) {
        const bool closed = removed == split.property_list.size() + 4;
        require(closed || (removed == split.property_list.size() + 3 && start + removed == text.size()),
                "a quoted option without its closing quote does not run to the end");
        require(piece.compare(3, split.property_list.size(), split.property_list) == 0,
                "the quoted list is not the text of the option");
        require(split.property_list.find('"') == std::string::npos, "the quoted list holds a quote");
        require(!closed || piece.back() == '"', "the quoted option does not end with its quote");
    } else {
        require(removed == split.property_list.size() + 2, "the unquoted option is not /V and its list");
        require(piece.compare(2, std::string::npos, split.property_list) == 0, "the unquoted list is not the option's text");
        require(split.property_list.find(" /") == std::string::npos, "the unquoted list runs over another option");
        require(start + removed == text.size() || text.compare(start + removed, 2, " /") == 0,
                "the unquoted list stops before the next option");
    }
}

// The merge puts the commandline and a blank in front of the stored text, into which it
// inserts the property list (with quotes, a blank or a whole /V option) at one place.
void check_merge(const std::string& stored, const std::string& list, const std::string& commandline,
                 const std::string& merged) {
    require(starts_with(merged, commandline + ' '), "the merge does not start with the commandline and a blank");
    const std::string parameters = merged.substr(commandline.size() + 1);
    require(parameters.find("/V") != std::string::npos, "the merged parameters hold no /V");
    const std::size_t option = stored.find("/V");
    const std::size_t quoted = stored.find("/V\"");
    std::string inserted;
    std::size_t at = 0;
    if (option == std::string::npos) {
        inserted = "/V\"" + list + '"';
        at = stored.size();
    } else if (quoted != std::string::npos) {
        inserted = list + ' ';
        at = quoted + 3;
    } else {
        inserted = '"' + list + '"';
        at = option + 2;
    }
    require(parameters == stored.substr(0, at) + inserted + stored.substr(at), "the merge changed the stored text");
}

void check_prefix(const std::string& launch, const std::string& tag, const std::string& prefixed) {
    if (tag.empty() || launch.find("/L") != std::string::npos)
        require(prefixed == launch, "a language was added where none belongs");
    else
        require(prefixed == "/L" + tag + ' ' + launch, "the language prefix is not /L, the tag and a blank");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzzing::input in(data, size);
    const std::string stored = in.text();
    const std::string tag = in.text();
    const std::string command_text = in.rest();

    const bootstrap::split_command_text_result split = bootstrap::split_command_text(command_text);
    check_split(command_text, split);
    const std::string merged = bootstrap::merge_parameters(stored, split.property_list, split.commandline);
    check_merge(stored, split.property_list, split.commandline, merged);
    check_prefix(merged, tag, bootstrap::prefix_language(merged, tag));
    return 0;
}
