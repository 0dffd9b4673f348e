// Completing what is being typed at a prompt, for every front end's command line: command names
// at `Command:`, elsewhere the keywords the prompt shows.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include <vantrel/host/HostExport.h>

namespace vantrel {

class CommandRegistry;

// The keywords a prompt shows in its last [...], separated by '/', as displayed.
VANTREL_HOST_EXPORT std::vector<std::wstring> promptKeywords(std::wstring_view prompt);

struct VANTREL_HOST_EXPORT Completion {
    // What may be typed that starts with the word, without regard to case.
    std::vector<std::wstring> matches;
    // The longest beginning the matches share, spelled as the first of them spells it; empty
    // when nothing matches.
    std::wstring common;
};

VANTREL_HOST_EXPORT Completion complete(const CommandRegistry& commands, std::wstring_view prompt, bool commandPrompt,
                                        std::wstring_view word);

} // namespace vantrel
