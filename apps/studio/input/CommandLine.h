// The command line under the drawing: the transcript, the prompt with its keywords as links, and
// the line the user types into, with the keys of a CAD command line: Enter, and Space except where
// text is asked, end an answer (an empty one is Enter, which repeats the last command at
// `Command:`); Esc cancels; Up and Down walk the history; Tab completes command names and keywords.
#pragma once

#include <string_view>
#include <vector>

#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QWidget>

namespace vantrel {
class CommandRegistry;
}

namespace vantrel::studio {

class StudioInputSource;

class CommandLine : public QWidget {
    Q_OBJECT
public:
    CommandLine(StudioInputSource& source, const CommandRegistry& commands, QWidget* parent = nullptr);

    // Transcript text as the host writes it (UTF-8, `\n` ends lines).
    void appendTranscript(std::string_view utf8);
    QString transcriptText() const { return m_transcript->toPlainText(); }
    QLineEdit* input() const { return m_input; }
    // Shows the open request's prompt.
    void showPrompt(const QString& prompt, bool commandName);
    // Gives a key typed elsewhere (the drawing) to the line.
    void takeKey(QKeyEvent* event);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void submit();
    void completeWord();
    void walkHistory(int step);

    StudioInputSource& m_source;
    const CommandRegistry& m_commands;
    QPlainTextEdit* m_transcript;
    QLabel* m_prompt;
    QLineEdit* m_input;
    std::vector<QString> m_history;
    std::size_t m_historyAt = 0;
};

} // namespace vantrel::studio
