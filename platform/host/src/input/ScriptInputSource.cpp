// Script lines to input events. A script error is an event of its own so that the engine shows
// it where it happened and the run goes on with the next line.
#include <vantrel/host/ScriptInputSource.h>

#include <cwctype>

#include <vantrel/db/OdString.h>
#include <vantrel/host/InputSyntax.h>

namespace vantrel {

namespace {

InputEvent error(std::wstring_view where, std::wstring_view what, std::wstring_view line)
{
    InputEvent e = InputEvent::of(InputEvent::Kind::Error);
    e.text = std::wstring(where) + L": " + std::wstring(what);
    e.echo = std::wstring(line);
    return e;
}

std::wstring lowered(std::wstring_view s)
{
    std::wstring out;
    for (wchar_t c : s)
        out.push_back(static_cast<wchar_t>(std::towlower(static_cast<wint_t>(c))));
    return out;
}

} // namespace

ScriptInputSource::ScriptInputSource(std::string_view script, std::wstring name) : m_name(std::move(name))
{
    std::wstring text = OdString::fromUtf8(script).str();
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find(L'\n', start);
        if (end == std::wstring::npos)
            end = text.size();
        std::wstring line = text.substr(start, end - start);
        if (!line.empty() && line.back() == L'\r')
            line.pop_back();
        m_lines.push_back(std::move(line));
        start = end + 1;
    }
}

InputEvent ScriptInputSource::next(const InputPrompt&)
{
    while (m_next < m_lines.size()) {
        m_line = ++m_next;
        std::wstring where = m_name + L":" + std::to_wstring(m_line);
        if (auto event = parseLine(m_lines[m_line - 1], where))
            return *event;
    }
    return InputEvent::of(InputEvent::Kind::End);
}

std::optional<InputEvent> ScriptInputSource::parseLine(std::wstring_view line, std::wstring_view where)
{
    std::wstring_view trimmed = InputSyntax::trim(line);
    if (!trimmed.empty() && trimmed.front() == L';')
        return std::nullopt;
    if (trimmed.size() < 2 || trimmed.front() != L'!' || trimmed[1] == L'!') {
        // `!!` escapes a text answer that starts with `!`.
        std::wstring_view text = line;
        if (trimmed.size() >= 2 && trimmed.front() == L'!')
            text = line.substr(line.find(L'!') + 1);
        InputEvent e = InputEvent::textLine(std::wstring(text));
        e.echo = std::wstring(InputSyntax::trim(text));
        return e;
    }

    std::wstring_view rest = trimmed.substr(1);
    std::size_t blank = rest.find_first_of(L" \t");
    std::wstring directive = lowered(rest.substr(0, blank));
    std::wstring_view args
        = blank == std::wstring_view::npos ? std::wstring_view() : InputSyntax::trim(rest.substr(blank));

    InputEvent e;
    e.echo = std::wstring(trimmed);
    if (directive == L"cancel") {
        if (!args.empty())
            return error(where, L"!cancel takes no arguments", trimmed);
        e.kind = InputEvent::Kind::Cancel;
        return e;
    }
    if (directive == L"move" || directive == L"click") {
        auto p = InputSyntax::parseCoordinates(args);
        if (!p)
            return error(where, L"!" + directive + L" needs a point X,Y[,Z]", trimmed);
        e.kind = directive == L"move" ? InputEvent::Kind::Move : InputEvent::Kind::Click;
        e.point = *p;
        return e;
    }
    if (directive == L"view") {
        std::size_t split = args.find_first_of(L" \t");
        std::optional<OdGePoint3d> a, b;
        if (split != std::wstring_view::npos) {
            a = InputSyntax::parseCoordinates(args.substr(0, split));
            b = InputSyntax::parseCoordinates(InputSyntax::trim(args.substr(split)));
        }
        if (!a || !b || a->x == b->x || a->y == b->y)
            return error(where, L"!view needs two opposite corners X1,Y1 X2,Y2 of an area", trimmed);
        e.kind = InputEvent::Kind::View;
        e.point = *a;
        e.corner = *b;
        return e;
    }
    if (directive == L"dlg") {
        if (args.empty())
            return error(where, L"!dlg needs a dialog event", trimmed);
        e.kind = InputEvent::Kind::Dialog;
        e.text = std::wstring(args);
        return e;
    }
    return error(where, L"unknown script command \"!" + directive + L"\"", trimmed);
}

} // namespace vantrel
