// Keyword lists: tokenising (quotes, `*` words, the independent part after a lone `_`), the
// displayed text, and matching of typed text by whole word or capitals.
#include <vantrel/host/KeywordList.h>

#include <vantrel/host/InputSyntax.h>
#include "utils/ignore_case.h"

namespace vantrel {

namespace {

bool isBlank(wchar_t c) { return c == L' ' || c == L'\t'; }

struct Token {
    std::wstring text;
    bool quoted = false;
};

// Blank runs inside a keyword count as one blank, so "Smooth  surface" types as "smooth surface".
std::wstring collapseBlanks(std::wstring_view s)
{
    s = InputSyntax::trim(s);
    std::wstring out;
    for (wchar_t c : s) {
        if (isBlank(c)) {
            if (!out.empty() && out.back() != L' ')
                out.push_back(L' ');
        } else {
            out.push_back(c);
        }
    }
    return out;
}

std::vector<Token> tokenize(std::wstring_view list)
{
    std::vector<Token> tokens;
    std::size_t i = 0;
    while (i < list.size()) {
        if (isBlank(list[i])) {
            ++i;
            continue;
        }
        Token t;
        if (list[i] == L'"') {
            // An unterminated quote runs to the end of the list.
            std::size_t close = list.find(L'"', i + 1);
            std::size_t end = close == std::wstring_view::npos ? list.size() : close;
            t.text = collapseBlanks(list.substr(i + 1, end - i - 1));
            t.quoted = true;
            i = close == std::wstring_view::npos ? list.size() : close + 1;
            if (t.text.empty())
                continue;
        } else {
            std::size_t end = i;
            while (end < list.size() && !isBlank(list[end]))
                ++end;
            t.text = std::wstring(list.substr(i, end - i));
            i = end;
        }
        tokens.push_back(std::move(t));
    }
    return tokens;
}

std::wstring capitalsOf(std::wstring_view text)
{
    std::wstring caps;
    for (wchar_t c : text)
        if (std::iswupper(static_cast<wint_t>(c)))
            caps.push_back(c);
    return caps;
}

// Whole words first over every keyword, then capitals: a text that is one keyword's whole word
// and another's capitals chooses the whole word.
template <class Form>
const KeywordList::Keyword* matchForms(const std::vector<KeywordList::Keyword>& keywords, std::wstring_view typed,
                                       Form form)
{
    for (const auto& k : keywords)
        if (equalsIgnoringCase(form(k), typed))
            return &k;
    for (const auto& k : keywords) {
        std::wstring caps = capitalsOf(form(k));
        if (!caps.empty() && equalsIgnoringCase(caps, typed))
            return &k;
    }
    return nullptr;
}

} // namespace

KeywordList KeywordList::parse(std::wstring_view list)
{
    KeywordList result;
    // `*` words and the words after a lone `_` are both independent forms, in that order.
    std::vector<std::wstring> globals;
    std::vector<std::wstring> globalsAfterUnderscore;
    bool inGlobalPart = false;
    for (Token& t : tokenize(list)) {
        if (!t.quoted && t.text == L"_") {
            inGlobalPart = true;
            continue;
        }
        bool starred = !t.quoted && t.text.size() > 1 && t.text.front() == L'*';
        if (starred)
            t.text.erase(0, 1);
        if (inGlobalPart) {
            globalsAfterUnderscore.push_back(std::move(t.text));
        } else if (starred) {
            globals.push_back(std::move(t.text));
        } else {
            Keyword k;
            k.text = std::move(t.text);
            result.m_keywords.push_back(std::move(k));
        }
    }
    for (auto& g : globalsAfterUnderscore)
        globals.push_back(std::move(g));
    // Independent forms pair with the displayed keywords by position; any left over become
    // keywords of their own, not displayed and numbered after the displayed ones.
    for (std::size_t i = 0; i < globals.size(); ++i) {
        if (i < result.m_keywords.size()) {
            result.m_keywords[i].global = std::move(globals[i]);
        } else {
            Keyword k;
            k.text = globals[i];
            k.global = std::move(globals[i]);
            k.displayed = false;
            result.m_keywords.push_back(std::move(k));
        }
    }
    for (std::size_t i = 0; i < result.m_keywords.size(); ++i) {
        Keyword& k = result.m_keywords[i];
        k.capitals = capitalsOf(k.text);
        if (k.global.empty())
            k.global = k.text;
        k.result = kInputFirstKeyword + static_cast<InputResult>(i);
    }
    return result;
}

std::wstring KeywordList::displayText() const
{
    std::wstring text;
    for (const auto& k : m_keywords) {
        if (!k.displayed)
            continue;
        if (!text.empty())
            text.push_back(L'/');
        text += k.text;
    }
    return text;
}

std::wstring KeywordList::fillPrompt(std::wstring_view prompt) const
{
    std::wstring filled(prompt);
    if (std::size_t at = filled.find(L"%s"); at != std::wstring::npos)
        filled.replace(at, 2, displayText());
    return filled;
}

const KeywordList::Keyword* KeywordList::match(std::wstring_view typed) const
{
    std::wstring text = collapseBlanks(typed);
    if (text.empty())
        return nullptr;
    auto displayedForm = [](const Keyword& k) -> std::wstring_view { return k.text; };
    auto globalForm = [](const Keyword& k) -> std::wstring_view { return k.global; };
    if (text.size() > 1 && text.front() == L'_') {
        if (auto k = matchForms(m_keywords, std::wstring_view(text).substr(1), globalForm))
            return k;
    }
    if (auto k = matchForms(m_keywords, text, displayedForm))
        return k;
    return matchForms(m_keywords, text, globalForm);
}

} // namespace vantrel
