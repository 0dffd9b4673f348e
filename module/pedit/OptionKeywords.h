// The keyword list of PEdit's option prompt, assembled from keyword resources so that the host
// numbers the answers as the options are listed: each displayed keyword is paired with its own
// independent form after a lone "_", and keywords that are only starred stay hidden at the end.
#pragma once

#include <initializer_list>
#include <optional>
#include <string>
#include <vector>

#include <vantrel/host/InputResult.h>
#include <vantrel/hxicore/CXStringW.h>

namespace vantrel::pedit {

enum class Option {
    Open,
    Close,
    EditVertex,
    Join,
    Width,
    Fit,
    Spline,
    Decurve,
    LtypeGen,
    Undo,
    Exit,
    MOpen,
    MClose,
    NOpen,
    NClose,
    SmoothSurface,
    Desmooth,
};

class OptionKeywords {
public:
    // One keyword from a resource "Displayed _ Independent"; without an independent part the
    // keyword is its own independent form.
    void add(const CXStringW& resource, Option option);
    // The keywords of an option resource such as "Join Width Undo *eXit": its plain and quoted
    // words are displayed and answer the options in order; a starred word that is the capital
    // letters of one of them is that keyword's independent form ("*U" of Undo); any other
    // starred word is a keyword of its own, not displayed, answering the next option.
    void addOptions(const CXStringW& resource, std::initializer_list<Option> options);

    // The displayed keywords, " _ ", their independent forms in the same order, then the hidden
    // keywords: the host answers kInputFirstKeyword + i for the i-th option listed.
    CXStringW list() const;
    // The option of an answer; nothing for answers that choose none.
    std::optional<Option> optionOf(InputResult answer) const;

private:
    struct Keyword {
        std::wstring displayed;
        std::wstring independent;
        Option option;
    };
    std::vector<Keyword> m_shown;
    std::vector<Keyword> m_hidden;
};

} // namespace vantrel::pedit
