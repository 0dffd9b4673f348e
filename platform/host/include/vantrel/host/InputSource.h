// Where the input engine pulls its events from: a script, a terminal, or a window's event loop.
#pragma once

#include <string_view>

#include <vantrel/host/InputEvent.h>

namespace vantrel {

class InputSource {
public:
    virtual ~InputSource() = default;
    // The next event; blocks until there is one. `prompt` is the open request's prompt as the
    // user sees it, for sources that show it themselves (a terminal line editor).
    virtual InputEvent next(std::wstring_view prompt) = 0;
};

} // namespace vantrel
