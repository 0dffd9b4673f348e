// Candidates for completion and their shared beginning.
#include <vantrel/host/Completion.h>

#include <cwctype>

#include <vantrel/host/CommandRegistry.h>

namespace vantrel {

namespace {

bool sameLetter(wchar_t a, wchar_t b)
{
    return std::towupper(static_cast<std::wint_t>(a)) == std::towupper(static_cast<std::wint_t>(b));
}

bool startsWithIgnoringCase(std::wstring_view s, std::wstring_view prefix)
{
    if (s.size() < prefix.size())
        return false;
    for (std::size_t i = 0; i < prefix.size(); ++i)
        if (!sameLetter(s[i], prefix[i]))
            return false;
    return true;
}

} // namespace

std::vector<std::wstring> promptKeywords(std::wstring_view prompt)
{
    std::vector<std::wstring> out;
    std::size_t open = prompt.rfind(L'[');
    std::size_t close = prompt.rfind(L']');
    if (open == std::wstring_view::npos || close == std::wstring_view::npos || close < open)
        return out;
    std::wstring_view list = prompt.substr(open + 1, close - open - 1);
    while (!list.empty()) {
        std::size_t slash = list.find(L'/');
        out.emplace_back(list.substr(0, slash));
        list.remove_prefix(slash == std::wstring_view::npos ? list.size() : slash + 1);
    }
    return out;
}

Completion complete(const CommandRegistry& commands, std::wstring_view prompt, bool commandPrompt,
                    std::wstring_view word)
{
    Completion c;
    for (std::wstring& name : commandPrompt ? commands.names() : promptKeywords(prompt))
        if (startsWithIgnoringCase(name, word))
            c.matches.push_back(std::move(name));
    if (c.matches.empty())
        return c;
    const std::wstring& first = c.matches.front();
    std::size_t common = first.size();
    for (const std::wstring& m : c.matches) {
        std::size_t k = 0;
        while (k < common && k < m.size() && sameLetter(m[k], first[k]))
            ++k;
        common = k;
    }
    c.common = first.substr(0, common);
    return c;
}

} // namespace vantrel
