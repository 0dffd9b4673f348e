// Input from the lines of a script: one answer per line, a blank line is Enter, `;` starts a
// comment line, and `!` lines are the events a mouse or a dialog would give.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include <vantrel/host/InputSource.h>
#include <vantrel/host/HostExport.h>

namespace vantrel {

class VANTREL_HOST_EXPORT ScriptInputSource : public InputSource {
public:
    // `script` is UTF-8 text; `name` labels the lines in error messages.
    explicit ScriptInputSource(std::string_view script, std::wstring name = L"script");

    InputEvent next(const InputPrompt& prompt) override;
    // The 1-based number of the line that the last event came from (0 before the first).
    std::size_t lineNumber() const { return m_line; }
    bool atEnd() const { return m_next >= m_lines.size(); }

    // The event of one script line, or nothing for a comment line. Refused `!` lines give an
    // Error event naming `where`.
    static std::optional<InputEvent> parseLine(std::wstring_view line, std::wstring_view where);

private:
    std::vector<std::wstring> m_lines;
    std::wstring m_name;
    std::size_t m_next = 0;
    std::size_t m_line = 0;
};

} // namespace vantrel
