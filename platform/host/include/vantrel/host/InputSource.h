// Where the input engine pulls its events from: a script, a terminal, or a window's event loop.
#pragma once

#include <string_view>

#include <vantrel/host/InputEvent.h>
#include <vantrel/host/HostExport.h>

namespace vantrel {

// What the open request asks, for sources that show the prompt and edit the answer themselves
// (a terminal line editor).
struct VANTREL_HOST_EXPORT InputPrompt {
    std::wstring_view text;   // the prompt as the user sees it
    bool commandName = false; // `Command:`: the answer is a command name
    bool freeText = false;    // free text is an answer, blanks within it included
    bool selection = false;   // entities are asked for: a mouse drag gives a window or crossing
};

class VANTREL_HOST_EXPORT InputSource {
public:
    virtual ~InputSource() = default;
    // The next event for the open request; blocks until there is one.
    virtual InputEvent next(const InputPrompt& prompt) = 0;
};

} // namespace vantrel
