// The terminal's line editor. libedit reads through readChar, which waits on the terminal and on
// the signal pipe at once, tells a lone ESC from the start of a key's escape sequence, and turns
// Esc and Ctrl-C into the cancel key; the keys of a CAD command line are editor functions.
#include "LineEditInputSource.h"

#include <poll.h>
#include <unistd.h>

#include <cassert>
#include <cerrno>
#include <cwctype>
#include <filesystem>
#include <iostream>
#include <string_view>
#include <vector>

#include <vantrel/db/OdString.h>
#include <vantrel/host/CommandRegistry.h>
#include <vantrel/host/Completion.h>
#include <vantrel/host/ScriptInputSource.h>
#include <vantrel/host/Transcript.h>

#include "ShellSignals.h"

namespace {

constexpr unsigned char kEscape = 0x1B;
// Ctrl-C never reaches the editor as a byte (the terminal makes it SIGINT), so its code is free
// to stand for "cancel" when Esc or SIGINT arrive.
constexpr wchar_t kCancelKey = 3;
constexpr const wchar_t* kCancelEcho = L"*Cancel*";

LineEditInputSource* g_source = nullptr;

void write(std::wstring_view text)
{
    std::cout << OdString(std::wstring(text)).toUtf8();
    std::cout.flush();
}

} // namespace

LineEditInputSource::LineEditInputSource(const vantrel::CommandRegistry& commands, std::string historyFile,
                                         vantrel::Transcript& transcript)
    : m_commands(commands), m_historyFile(std::move(historyFile)), m_transcript(transcript)
{
    assert(!g_source && "one line editor at a time");
    g_source = this;
    m_el = el_init("vantrel", stdin, stdout, stderr);
    m_history = history_winit();
    HistEventW event;
    history_w(m_history, &event, H_SETSIZE, 1000);
    history_w(m_history, &event, H_SETUNIQUE, 1);
    if (!m_historyFile.empty())
        history_w(m_history, &event, H_LOAD, m_historyFile.c_str());
    el_wset(m_el, EL_EDITOR, L"emacs");
    el_wset(m_el, EL_HIST, history_w, m_history);
    el_wset(m_el, EL_CLIENTDATA, this);
    el_wset(m_el, EL_PROMPT, promptText);
    el_wset(m_el, EL_GETCFN, readChar);
    el_wset(m_el, EL_ADDFN, L"vantrel-cancel", L"Cancel the prompt", cancelKey);
    el_wset(m_el, EL_ADDFN, L"vantrel-space", L"End the answer, or insert a blank in text", spaceKey);
    el_wset(m_el, EL_ADDFN, L"vantrel-complete", L"Complete a command name or keyword", completeKey);
    el_wset(m_el, EL_ADDFN, L"vantrel-end", L"End the input on an empty line, else delete", endKey);
    el_wset(m_el, EL_BIND, L"^C", L"vantrel-cancel", nullptr);
    el_wset(m_el, EL_BIND, L" ", L"vantrel-space", nullptr);
    el_wset(m_el, EL_BIND, L"^I", L"vantrel-complete", nullptr);
    el_wset(m_el, EL_BIND, L"^D", L"vantrel-end", nullptr);
}

LineEditInputSource::~LineEditInputSource()
{
    if (!m_historyFile.empty() && m_lines > 0) {
        std::error_code ec;
        std::filesystem::create_directories(std::filesystem::path(m_historyFile).parent_path(), ec);
        HistEventW event;
        if (history_w(m_history, &event, H_SAVE, m_historyFile.c_str()) < 0)
            std::cerr << "vantrel: cannot write the history to " << m_historyFile << '\n';
    }
    el_end(m_el);
    history_wend(m_history);
    g_source = nullptr;
}

LineEditInputSource& LineEditInputSource::of(EditLine* el)
{
    void* data = nullptr;
    el_wget(el, EL_CLIENTDATA, &data);
    return *static_cast<LineEditInputSource*>(data);
}

wchar_t* LineEditInputSource::promptText(EditLine* el) { return of(el).m_prompt.data(); }

std::optional<unsigned char> LineEditInputSource::readByte(int timeoutMs, bool* cancel)
{
    for (;;) {
        pollfd fds[2] = {{STDIN_FILENO, POLLIN, 0}, {ShellSignals::wakeFd(), POLLIN, 0}};
        int ready = ::poll(fds, ShellSignals::wakeFd() >= 0 ? 2 : 1, timeoutMs);
        if (ready == 0)
            return std::nullopt;
        if (ready < 0 && errno != EINTR) {
            m_lost = true;
            return std::nullopt;
        }
        if (ready < 0 || (fds[1].revents & POLLIN)) {
            ShellSignals::drainWake();
            if (ShellSignals::stopSignal()) {
                m_stopped = true;
                return std::nullopt;
            }
            if (ShellSignals::takeResume()) {
                // Back from the background: the shell may have changed the terminal's mode.
                el_wset(m_el, EL_PREP_TERM, 0);
                el_wset(m_el, EL_PREP_TERM, 1);
                el_wset(m_el, EL_REFRESH);
            }
            if (ShellSignals::takeResize())
                el_resize(m_el);
            if (ShellSignals::takeInterrupt()) {
                *cancel = true;
                return std::nullopt;
            }
            continue;
        }
        unsigned char byte = 0;
        ssize_t n = ::read(STDIN_FILENO, &byte, 1);
        if (n == 1)
            return byte;
        if (n < 0 && (errno == EINTR || errno == EAGAIN))
            continue;
        m_lost = true;
        return std::nullopt;
    }
}

// A UTF-8 sequence after its lead byte; anything malformed reads as U+FFFD.
int LineEditInputSource::decode(unsigned char lead, wchar_t* c)
{
    int more = lead >= 0xF0 ? 3 : lead >= 0xE0 ? 2 : lead >= 0xC0 ? 1 : -1;
    if (more < 0 || lead >= 0xF8) {
        *c = 0xFFFD;
        return 1;
    }
    char32_t code = lead & (0x3F >> more);
    for (int i = 0; i < more; ++i) {
        bool cancel = false;
        std::optional<unsigned char> next = readByte(-1, &cancel);
        if (!next || (*next & 0xC0) != 0x80) {
            if (next)
                m_pending = next;
            *c = cancel ? kCancelKey : 0xFFFD;
            return m_stopped || m_lost ? -1 : 1;
        }
        code = (code << 6) | (*next & 0x3F);
    }
    *c = static_cast<wchar_t>(code);
    return 1;
}

int LineEditInputSource::readChar(EditLine* el, wchar_t* c)
{
    LineEditInputSource& self = of(el);
    bool cancel = false;
    std::optional<unsigned char> byte = self.m_pending;
    self.m_pending.reset();
    if (!byte)
        byte = self.readByte(-1, &cancel);
    if (!byte) {
        if (cancel) {
            *c = kCancelKey;
            return 1;
        }
        errno = EINTR;
        return -1;
    }
    if (*byte == kEscape) {
        // A key's escape sequence arrives in one piece; an ESC with nothing after it, or with
        // another ESC after it, is the Esc key.
        std::optional<unsigned char> after = self.readByte(kEscapeDelayMs, &cancel);
        if (self.m_stopped || self.m_lost) {
            errno = EINTR;
            return -1;
        }
        if (after && *after != kEscape) {
            self.m_pending = after;
            *c = kEscape;
            return 1;
        }
        self.m_pending = after;
        *c = kCancelKey;
        return 1;
    }
    if (*byte < 0x80) {
        *c = *byte;
        return 1;
    }
    return self.decode(*byte, c);
}

unsigned char LineEditInputSource::cancelKey(EditLine* el, int)
{
    LineEditInputSource& self = of(el);
    // The line shows *Cancel* where the answer was, then ends like Enter.
    const LineInfoW* line = el_wline(el);
    el_cursor(el, static_cast<int>(line->lastchar - line->cursor));
    line = el_wline(el);
    el_wdeletestr(el, static_cast<int>(line->cursor - line->buffer));
    el_winsertstr(el, kCancelEcho);
    el_push(el, "\n");
    self.m_cancelled = true;
    return CC_REFRESH;
}

unsigned char LineEditInputSource::spaceKey(EditLine* el, int)
{
    LineEditInputSource& self = of(el);
    const LineInfoW* line = el_wline(el);
    // Text keeps its blanks, and so do script lines typed by hand (`!move 1,2`).
    if (self.m_freeText || (line->lastchar > line->buffer && line->buffer[0] == L'!')) {
        el_winsertstr(el, L" ");
        return CC_REFRESH;
    }
    el_push(el, "\n");
    return CC_NORM;
}

unsigned char LineEditInputSource::endKey(EditLine* el, int)
{
    const LineInfoW* line = el_wline(el);
    if (line->lastchar == line->buffer)
        return CC_EOF;
    if (line->cursor == line->lastchar)
        return CC_ERROR;
    el_cursor(el, 1);
    el_wdeletestr(el, 1);
    return CC_REFRESH;
}

unsigned char LineEditInputSource::completeKey(EditLine* el, int)
{
    LineEditInputSource& self = of(el);
    const LineInfoW* line = el_wline(el);
    std::wstring_view before(line->buffer, static_cast<std::size_t>(line->cursor - line->buffer));
    std::size_t start = before.find_last_of(L" \t");
    std::wstring_view word = start == std::wstring_view::npos ? before : before.substr(start + 1);
    const vantrel::Completion c = vantrel::complete(self.m_commands, self.m_prompt, self.m_commandPrompt, word);
    if (c.matches.empty())
        return CC_ERROR;
    if (c.common.size() > word.size() || c.matches.size() == 1) {
        el_wdeletestr(el, static_cast<int>(word.size()));
        el_winsertstr(el, c.common.c_str());
        return CC_REFRESH;
    }
    std::wstring list = L"\n";
    for (const std::wstring& m : c.matches)
        list += m + L"  ";
    list += L"\n";
    write(list);
    return CC_REDISPLAY;
}

vantrel::InputEvent LineEditInputSource::next(const vantrel::InputPrompt& prompt)
{
    using vantrel::InputEvent;
    m_transcript.finish();
    std::cout.flush();
    m_prompt = std::wstring(prompt.text);
    m_commandPrompt = prompt.commandName;
    m_freeText = prompt.freeText;
    for (;;) {
        if (m_stopped || m_lost || ShellSignals::stopSignal())
            return InputEvent::of(InputEvent::Kind::End);
        m_cancelled = false;
        // The terminal stays raw between prompts too (libedit makes it cooked after each line):
        // what is typed ahead while a command works is neither echoed twice nor taken by the
        // terminal itself (Ctrl-D would be its end of file). el_end puts the terminal back.
        el_wset(m_el, EL_PREP_TERM, 1);
        int count = 0;
        const wchar_t* typed = el_wgets(m_el, &count);
        el_wset(m_el, EL_PREP_TERM, 1);
        if (m_cancelled)
            return InputEvent::of(InputEvent::Kind::Cancel);
        if (!typed) {
            if (count == 0 && !m_stopped && !m_lost && !m_commandPrompt) {
                // Ctrl-D on an empty line cancels a prompt; at `Command:` it leaves.
                write(std::wstring(kCancelEcho) + L"\n");
                return InputEvent::of(InputEvent::Kind::Cancel);
            }
            write(L"\n");
            m_lost = m_lost || (count != 0 && !m_stopped);
            return InputEvent::of(InputEvent::Kind::End);
        }
        std::wstring line(typed);
        while (!line.empty() && (line.back() == L'\n' || line.back() == L'\r'))
            line.pop_back();
        if (line.find_first_not_of(L" \t") != std::wstring::npos) {
            HistEventW event;
            history_w(m_history, &event, H_ENTER, line.c_str());
            ++m_lines;
        }
        if (auto event = vantrel::ScriptInputSource::parseLine(line, L"input"))
            return *event;
    }
}
