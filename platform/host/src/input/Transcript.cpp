// Transcript output: keeps track of whether a line is open so that every prompt starts a line
// and messages do not leave empty lines behind.
#include <vantrel/host/Transcript.h>

#include <ostream>

#include <vantrel/db/OdString.h>

namespace vantrel {

Transcript::Transcript(std::ostream& out) : m_sink([&out](std::string_view text) { out << text; }) {}

Transcript::Transcript(Sink sink) : m_sink(std::move(sink)) {}

void Transcript::write(std::wstring_view text)
{
    if (text.empty())
        return;
    m_sink(OdString(text).toUtf8());
    m_atLineStart = text.back() == L'\n';
}

void Transcript::prompt(std::wstring_view text)
{
    if (!m_showPrompts)
        return;
    if (!m_atLineStart)
        write(L"\n");
    write(text);
}

void Transcript::answer(std::wstring_view text)
{
    if (!m_showPrompts) {
        // The terminal ended the line when the user pressed Enter.
        m_atLineStart = true;
        return;
    }
    if (m_echoAnswers)
        write(text);
    write(L"\n");
}

void Transcript::message(std::wstring_view text)
{
    if (m_atLineStart && !text.empty() && text.front() == L'\n')
        text.remove_prefix(1);
    write(text);
}

void Transcript::finish()
{
    if (!m_atLineStart)
        write(L"\n");
}

} // namespace vantrel
