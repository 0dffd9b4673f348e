// Whole-text comparison ignoring case, as keywords, colour names and list items are matched at
// the command line and in dialogs.
#pragma once

#include <cwctype>
#include <string_view>

namespace vantrel {

inline bool equalsIgnoringCase(std::wstring_view a, std::wstring_view b)
{
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (std::towupper(static_cast<wint_t>(a[i])) != std::towupper(static_cast<wint_t>(b[i])))
            return false;
    return true;
}

} // namespace vantrel
