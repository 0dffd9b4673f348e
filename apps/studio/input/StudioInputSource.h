// The studio's input source: events the window posts (typed lines, clicks, cursor moves, Esc)
// wait in a queue, and a request that finds the queue empty runs Qt's event loop until one comes,
// so the window stays alive while a command waits. A script's lines come first, one at a time
// between which the window is repainted.
#pragma once

#include <deque>
#include <memory>
#include <string>

#include <QEventLoop>
#include <QObject>
#include <QString>

#include <vantrel/host/InputSource.h>
#include <vantrel/host/ScriptInputSource.h>

namespace vantrel::studio {

class StudioInputSource : public QObject, public InputSource {
    Q_OBJECT
public:
    StudioInputSource() = default;

    // Runs the script's lines before anything the window posts.
    void setScript(const std::string& utf8, const std::wstring& name);
    bool scriptRunning() const { return m_script && !m_script->atEnd(); }
    bool hasPending() const { return !m_queue.empty(); }

    InputEvent next(const InputPrompt& prompt) override;
    void post(InputEvent event);
    // A line as the user typed it in the command line: `!` lines are the script's events.
    void postTyped(const std::wstring& line);
    // No more input: the open request is cancelled and the command loop ends.
    void end();
    // Ends the command loop's run (the open request is cancelled) without ending the input:
    // after resume() the next run reads on.
    void leaveLoop();
    void resume();

    // What the open request asks; empty before the first one.
    const QString& prompt() const { return m_prompt; }
    bool atCommandPrompt() const { return m_commandPrompt; }
    bool freeTextAsked() const { return m_freeText; }
    bool selectionAsked() const { return m_selection; }
    // The kind of the event the last request was given (a move does not change the drawing).
    InputEvent::Kind lastKind() const { return m_lastKind; }

signals:
    // A request waits for input: the prompt to show. Not for each cursor move.
    void waiting(const QString& prompt, bool commandName);
    // The script's last line was given and its effect is on screen.
    void scriptDone();
    // The queue is empty and the request waits for the window.
    void idle();

private:
    InputEvent take();

    std::deque<InputEvent> m_queue;
    std::unique_ptr<ScriptInputSource> m_script;
    QEventLoop* m_loop = nullptr;
    QString m_prompt;
    bool m_commandPrompt = false;
    bool m_freeText = false;
    bool m_selection = false;
    bool m_ended = false;
    bool m_scriptDoneSent = false;
    InputEvent::Kind m_lastKind = InputEvent::Kind::End;
};

} // namespace vantrel::studio
