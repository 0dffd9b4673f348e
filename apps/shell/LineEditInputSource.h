// Input typed at a terminal through libedit, with the keys of a CAD command line: Esc (a lone
// ESC byte) and Ctrl-C cancel the prompt, Space ends an answer except where text is asked, Tab
// completes command names and the prompt's keywords, and Ctrl-D ends the session at `Command:`
// and cancels elsewhere. Typed lines go into a history kept beside the profile.
#pragma once

#include <optional>
#include <string>

#include <histedit.h>

#include <vantrel/host/InputSource.h>

namespace vantrel {
class CommandRegistry;
class Transcript;
} // namespace vantrel

class LineEditInputSource : public vantrel::InputSource {
public:
    // How long a lone ESC waits for the rest of a key's escape sequence before it counts as Esc.
    static constexpr int kEscapeDelayMs = 100;

    // historyFile may be empty (no history kept). Messages in the transcript are ended before
    // each prompt is shown. One source exists at a time (libedit and the signals are global).
    LineEditInputSource(const vantrel::CommandRegistry& commands, std::string historyFile,
                        vantrel::Transcript& transcript);
    ~LineEditInputSource() override;
    LineEditInputSource(const LineEditInputSource&) = delete;
    LineEditInputSource& operator=(const LineEditInputSource&) = delete;

    vantrel::InputEvent next(const vantrel::InputPrompt& prompt) override;
    // The terminal's input ended or failed without a stop signal: nothing more can be asked.
    bool terminalLost() const { return m_lost; }

private:
    // libedit's callbacks reach the source through the editor's client data.
    static LineEditInputSource& of(EditLine* el);
    static int readChar(EditLine* el, wchar_t* c);
    static wchar_t* promptText(EditLine* el);
    static unsigned char cancelKey(EditLine* el, int ch);
    static unsigned char spaceKey(EditLine* el, int ch);
    static unsigned char completeKey(EditLine* el, int ch);
    static unsigned char endKey(EditLine* el, int ch);

    // The next byte of input, or nothing when the wait was cut short (m_stopped, m_lost, or a
    // Ctrl-C that became the cancel key in *cancel).
    std::optional<unsigned char> readByte(int timeoutMs, bool* cancel);
    int decode(unsigned char lead, wchar_t* c);

    const vantrel::CommandRegistry& m_commands;
    std::string m_historyFile;
    vantrel::Transcript& m_transcript;
    EditLine* m_el = nullptr;
    HistoryW* m_history = nullptr;
    std::wstring m_prompt;
    bool m_commandPrompt = false;
    bool m_freeText = false;
    std::optional<unsigned char> m_pending; // a byte read ahead after an ESC
    bool m_cancelled = false;
    bool m_stopped = false;
    bool m_lost = false;
    int m_lines = 0;
};
