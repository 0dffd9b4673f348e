// Splitting keyword resources into words (double quotes around words with blanks) and joining
// the option prompt's list from them.
#include "pedit/OptionKeywords.h"

#include <cwctype>

namespace vantrel::pedit {

namespace {

struct Word {
    std::wstring text;
    bool starred = false;
};

std::vector<Word> wordsOf(const std::wstring& text)
{
    std::vector<Word> words;
    std::size_t i = 0;
    while (i < text.size()) {
        if (text[i] == L' ') {
            ++i;
            continue;
        }
        Word w;
        if (text[i] == L'"') {
            const std::size_t close = text.find(L'"', i + 1);
            const std::size_t end = close == std::wstring::npos ? text.size() : close;
            w.text = text.substr(i + 1, end - i - 1);
            i = end + 1;
        } else {
            const std::size_t end = std::min(text.find(L' ', i), text.size());
            w.text = text.substr(i, end - i);
            w.starred = w.text.size() > 1 && w.text.front() == L'*';
            if (w.starred)
                w.text.erase(0, 1);
            i = end;
        }
        if (!w.text.empty())
            words.push_back(std::move(w));
    }
    return words;
}

std::wstring capitalsOf(const std::wstring& text)
{
    std::wstring capitals;
    for (wchar_t c : text)
        if (std::iswupper(static_cast<std::wint_t>(c)))
            capitals.push_back(c);
    return capitals;
}

std::wstring quoted(const std::wstring& keyword)
{
    return keyword.find(L' ') == std::wstring::npos ? keyword : L"\"" + keyword + L"\"";
}

} // namespace

void OptionKeywords::add(const CXStringW& resource, Option option)
{
    const std::wstring& text = resource.str();
    const std::size_t cut = text.find(L'_');
    const std::vector<Word> shown = wordsOf(text.substr(0, cut));
    const std::vector<Word> independent
        = cut == std::wstring::npos ? std::vector<Word>() : wordsOf(text.substr(cut + 1));
    if (shown.empty())
        return;
    m_shown.push_back(
        {shown.front().text, independent.empty() ? shown.front().text : independent.front().text, option});
}

void OptionKeywords::addOptions(const CXStringW& resource, std::initializer_list<Option> options)
{
    const std::vector<Word> words = wordsOf(resource.str());
    auto next = options.begin();
    const std::size_t first = m_shown.size();
    for (const Word& w : words) {
        if (!w.starred && next != options.end())
            m_shown.push_back({w.text, w.text, *next++});
    }
    for (const Word& w : words) {
        if (!w.starred)
            continue;
        bool paired = false;
        for (std::size_t k = first; k < m_shown.size() && !paired; ++k) {
            if (capitalsOf(m_shown[k].displayed) == w.text) {
                m_shown[k].independent = w.text;
                paired = true;
            }
        }
        if (!paired && next != options.end())
            m_hidden.push_back({w.text, w.text, *next++});
    }
}

CXStringW OptionKeywords::list() const
{
    std::wstring shown, independent;
    for (const Keyword& k : m_shown) {
        shown += quoted(k.displayed) + L" ";
        independent += L" " + quoted(k.independent);
    }
    for (const Keyword& k : m_hidden)
        independent += L" " + quoted(k.independent);
    return CXStringW(shown + L"_" + independent);
}

std::optional<Option> OptionKeywords::optionOf(InputResult answer) const
{
    if (answer < kInputFirstKeyword)
        return std::nullopt;
    const std::size_t i = static_cast<std::size_t>(answer - kInputFirstKeyword);
    if (i < m_shown.size())
        return m_shown[i].option;
    if (i - m_shown.size() < m_hidden.size())
        return m_hidden[i - m_shown.size()].option;
    return std::nullopt;
}

} // namespace vantrel::pedit
