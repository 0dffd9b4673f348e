// The command line's widgets and keys; what an answer means is the input engine's business.
#include "input/CommandLine.h"

#include <QApplication>
#include <QKeyEvent>
#include <QScrollBar>
#include <QVBoxLayout>

#include <vantrel/host/CommandRegistry.h>
#include <vantrel/host/Completion.h>

#include "input/StudioInputSource.h"

namespace vantrel::studio {

CommandLine::CommandLine(StudioInputSource& source, const CommandRegistry& commands, QWidget* parent)
    : QWidget(parent), m_source(source), m_commands(commands), m_transcript(new QPlainTextEdit(this)),
      m_prompt(new QLabel(this)), m_input(new QLineEdit(this))
{
    m_transcript->setReadOnly(true);
    m_transcript->setMaximumBlockCount(5000);
    m_transcript->setFont(QFont("monospace"));
    m_transcript->setObjectName("transcript");
    m_prompt->setTextFormat(Qt::RichText);
    m_prompt->setObjectName("prompt");
    m_input->setObjectName("commandInput");
    m_input->installEventFilter(this);
    auto* row = new QHBoxLayout;
    row->addWidget(m_prompt);
    row->addWidget(m_input, 1);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(2, 2, 2, 2);
    layout->addWidget(m_transcript, 1);
    layout->addLayout(row);
    connect(m_prompt, &QLabel::linkActivated, this,
            [this](const QString& keyword) { m_source.post(InputEvent::textLine(keyword.toStdWString())); });
}

void CommandLine::appendTranscript(std::string_view utf8)
{
    QTextCursor end = m_transcript->textCursor();
    end.movePosition(QTextCursor::End);
    end.insertText(QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size())));
    m_transcript->verticalScrollBar()->setValue(m_transcript->verticalScrollBar()->maximum());
}

void CommandLine::showPrompt(const QString& prompt, bool commandName)
{
    // Keywords in the prompt's last [...] are links that answer with the keyword.
    QString html = prompt.toHtmlEscaped();
    if (!commandName) {
        const std::vector<std::wstring> keywords = promptKeywords(prompt.toStdWString());
        const qsizetype open = html.lastIndexOf('[');
        const qsizetype close = html.lastIndexOf(']');
        if (!keywords.empty() && open >= 0 && close > open) {
            QStringList links;
            for (const std::wstring& k : keywords) {
                const QString word = QString::fromStdWString(k);
                links << QString("<a href=\"%1\">%2</a>").arg(word.toHtmlEscaped(), word.toHtmlEscaped());
            }
            html = html.left(open + 1) + links.join('/') + html.mid(close);
        }
    }
    m_prompt->setText(html);
}

void CommandLine::submit()
{
    const QString line = m_input->text();
    m_input->clear();
    if (!line.trimmed().isEmpty() && (m_history.empty() || m_history.back() != line))
        m_history.push_back(line);
    m_historyAt = m_history.size();
    m_source.postTyped(line.toStdWString());
}

void CommandLine::completeWord()
{
    const QString before = m_input->text().left(m_input->cursorPosition());
    const qsizetype start = before.lastIndexOf(' ') + 1;
    const Completion c = complete(m_commands, m_source.prompt().toStdWString(), m_source.atCommandPrompt(),
                                  before.mid(start).toStdWString());
    if (c.matches.empty())
        return;
    if (c.common.size() > static_cast<std::size_t>(before.size() - start) || c.matches.size() == 1) {
        m_input->setText(before.left(start) + QString::fromStdWString(c.common) + m_input->text().mid(before.size()));
        m_input->setCursorPosition(static_cast<int>(start + static_cast<qsizetype>(c.common.size())));
        return;
    }
    QStringList list;
    for (const std::wstring& m : c.matches)
        list << QString::fromStdWString(m);
    appendTranscript(("\n" + list.join("  ") + "\n").toStdString());
}

void CommandLine::walkHistory(int step)
{
    if (m_history.empty())
        return;
    const auto last = static_cast<long>(m_history.size());
    const long at = std::clamp(static_cast<long>(m_historyAt) + step, 0L, last);
    m_historyAt = static_cast<std::size_t>(at);
    m_input->setText(at == last ? QString() : m_history[m_historyAt]);
}

void CommandLine::takeKey(QKeyEvent* event)
{
    m_input->setFocus();
    if (!eventFilter(m_input, event))
        QApplication::sendEvent(m_input, event);
}

bool CommandLine::eventFilter(QObject* watched, QEvent* event)
{
    if (watched != m_input || event->type() != QEvent::KeyPress)
        return QWidget::eventFilter(watched, event);
    auto* key = static_cast<QKeyEvent*>(event);
    switch (key->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter: submit(); return true;
    case Qt::Key_Space:
        if (m_source.freeTextAsked())
            return false;
        submit();
        return true;
    case Qt::Key_Escape:
        m_input->clear();
        m_source.post(InputEvent::of(InputEvent::Kind::Cancel));
        return true;
    case Qt::Key_Up: walkHistory(-1); return true;
    case Qt::Key_Down: walkHistory(+1); return true;
    case Qt::Key_Tab: completeWord(); return true;
    default: return false;
    }
}

} // namespace vantrel::studio
