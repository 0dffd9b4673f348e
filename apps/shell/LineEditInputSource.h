// Input typed at a terminal through libedit: the prompt is shown by the line editor, lines go
// into a history kept beside the profile, and Tab completes command names.
#pragma once

#include <string>

#include <vantrel/host/InputSource.h>

namespace vantrel {
class CommandRegistry;
class Transcript;
}

class LineEditInputSource : public vantrel::InputSource {
public:
    // historyFile may be empty (no history kept). Messages in the transcript are ended before
    // each prompt is shown.
    LineEditInputSource(const vantrel::CommandRegistry& commands, std::string historyFile,
                        vantrel::Transcript& transcript);
    ~LineEditInputSource() override;
    LineEditInputSource(const LineEditInputSource&) = delete;
    LineEditInputSource& operator=(const LineEditInputSource&) = delete;

    vantrel::InputEvent next(std::wstring_view prompt) override;

private:
    std::string m_historyFile;
    vantrel::Transcript& m_transcript;
    int m_lines = 0;
};
