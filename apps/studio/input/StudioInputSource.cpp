// Waiting for the window's events inside a request, and the script that runs first.
#include "input/StudioInputSource.h"

#include <QCoreApplication>

namespace vantrel::studio {

void StudioInputSource::setScript(const std::string& utf8, const std::wstring& name)
{
    m_script = std::make_unique<ScriptInputSource>(utf8, name);
}

void StudioInputSource::post(InputEvent event)
{
    if (m_ended)
        return;
    // Only the latest position of the cursor matters.
    if (event.kind == InputEvent::Kind::Move && !m_queue.empty() && m_queue.back().kind == InputEvent::Kind::Move) {
        m_queue.back() = std::move(event);
        return;
    }
    m_queue.push_back(std::move(event));
    if (m_loop)
        m_loop->quit();
}

void StudioInputSource::postTyped(const std::wstring& line)
{
    if (std::optional<InputEvent> event = ScriptInputSource::parseLine(line, L"command line"))
        post(std::move(*event));
}

void StudioInputSource::end()
{
    m_queue.clear();
    m_queue.push_back(InputEvent::of(InputEvent::Kind::End));
    m_ended = true;
    if (m_loop)
        m_loop->quit();
}

void StudioInputSource::leaveLoop()
{
    m_queue.clear();
    m_queue.push_back(InputEvent::of(InputEvent::Kind::End));
    if (m_loop)
        m_loop->quit();
}

void StudioInputSource::resume() { m_queue.clear(); }

InputEvent StudioInputSource::take()
{
    InputEvent e = std::move(m_queue.front());
    m_queue.pop_front();
    m_lastKind = e.kind;
    return e;
}

InputEvent StudioInputSource::next(const InputPrompt& prompt)
{
    const QString text = QString::fromWCharArray(prompt.text.data(), static_cast<qsizetype>(prompt.text.size()));
    const bool changed = text != m_prompt || m_lastKind != InputEvent::Kind::Move;
    m_prompt = text;
    m_commandPrompt = prompt.commandName;
    m_freeText = prompt.freeText;
    m_selection = prompt.selection;
    if (changed)
        emit waiting(m_prompt, m_commandPrompt);
    if (!m_ended && m_queue.empty() && scriptRunning()) {
        // The window shows each step of the script.
        QCoreApplication::processEvents();
        m_lastKind = InputEvent::Kind::Text;
        InputEvent e = m_script->next(prompt);
        m_lastKind = e.kind;
        if (e.kind != InputEvent::Kind::End)
            return e;
    }
    if (m_script && !m_scriptDoneSent && m_queue.empty() && !m_ended) {
        m_scriptDoneSent = true;
        QCoreApplication::processEvents();
        emit scriptDone();
    }
    while (m_queue.empty()) {
        emit idle();
        if (!m_queue.empty())
            break;
        QEventLoop loop;
        m_loop = &loop;
        loop.exec();
        m_loop = nullptr;
    }
    return take();
}

} // namespace vantrel::studio
