// The command line's output: prompts with their keywords filled in, the answers a script gave
// (so that a script run reads like a session), and messages. Written as UTF-8 to a stream or a
// callback, so tests and front ends capture it.
#pragma once

#include <functional>
#include <iosfwd>
#include <string_view>

#include <vantrel/host/HostExport.h>

namespace vantrel {

class VANTREL_HOST_EXPORT Transcript {
public:
    using Sink = std::function<void(std::string_view utf8)>;

    explicit Transcript(std::ostream& out);
    explicit Transcript(Sink sink);

    // Script mode echoes each answer after its prompt; a terminal shows prompts and answers
    // itself, so it switches both off.
    void setEchoAnswers(bool on) { m_echoAnswers = on; }
    void setShowPrompts(bool on) { m_showPrompts = on; }

    // A prompt always starts a line and stays open for its answer.
    void prompt(std::wstring_view text);
    // Ends the prompt's line, with the answer on it when answers are echoed.
    void answer(std::wstring_view text);
    // Message text; `\n` breaks lines. A message that starts with `\n` at the start of a line
    // does not add an empty line (messages begin with one to leave the prompt's line).
    void message(std::wstring_view text);
    // Ends an unfinished line.
    void finish();

private:
    void write(std::wstring_view text);

    Sink m_sink;
    bool m_echoAnswers = true;
    bool m_showPrompts = true;
    bool m_atLineStart = true;
};

} // namespace vantrel
