// A keyword list as commands write it ("Close Open _ Close Open", "ON OFF *ON *OFF",
// "\"Smooth surface\" Desmooth"): parsed once per request, then used to fill the prompt's
// `%s` and to match what the user typed. The rules are written up in docs/input.md.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include <vantrel/host/InputResult.h>
#include <vantrel/host/HostExport.h>

namespace vantrel {

class VANTREL_HOST_EXPORT KeywordList {
public:
    struct Keyword {
        std::wstring text;     // as listed, quotes and `*` removed, inner blanks single
        std::wstring capitals; // its capital letters: the short form
        std::wstring global;   // the language-independent form (`_` + it chooses the keyword)
        bool displayed = true; // false for independent forms left over after the pairing
        InputResult result = kInputFirstKeyword;
    };

    KeywordList() = default;
    static KeywordList parse(std::wstring_view list);

    const std::vector<Keyword>& keywords() const { return m_keywords; }
    bool empty() const { return m_keywords.empty(); }
    // The displayed keywords joined by `/`.
    std::wstring displayText() const;
    // The prompt with its first `%s` replaced by displayText().
    std::wstring fillPrompt(std::wstring_view prompt) const;
    // The keyword that the typed text chooses, or nothing.
    const Keyword* match(std::wstring_view typed) const;

private:
    std::vector<Keyword> m_keywords;
};

} // namespace vantrel
