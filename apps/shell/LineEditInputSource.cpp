// The terminal's line editor. libedit keeps its state in globals, so one source exists at a time.
#include "LineEditInputSource.h"

#include <cassert>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <iostream>
#include <string_view>
#include <vector>

#include <editline/readline.h>

#include <vantrel/db/OdString.h>
#include <vantrel/host/CommandRegistry.h>
#include <vantrel/host/ScriptInputSource.h>
#include <vantrel/host/Transcript.h>

namespace {

const vantrel::CommandRegistry* g_commands = nullptr;
std::vector<std::string> g_matches;
std::string g_prompt; // the prompt being answered, as shown

bool startsWithIgnoringCase(std::string_view s, std::string_view prefix)
{
    if (s.size() < prefix.size())
        return false;
    for (std::size_t i = 0; i < prefix.size(); ++i)
        if (std::toupper(static_cast<unsigned char>(s[i])) != std::toupper(static_cast<unsigned char>(prefix[i])))
            return false;
    return true;
}

// What may be typed at the prompt: at `Command:` the command names; elsewhere the keywords the
// prompt shows in its last [...] (separated by '/').
std::vector<std::string> candidates()
{
    std::size_t open = g_prompt.rfind('[');
    std::size_t close = g_prompt.rfind(']');
    std::vector<std::string> out;
    if (g_prompt.rfind("Command", 0) == 0) {
        for (const std::wstring& name : g_commands->names())
            out.push_back(OdString(name).toUtf8());
    } else if (open != std::string::npos && close != std::string::npos && open < close) {
        std::string_view list(g_prompt.data() + open + 1, close - open - 1);
        while (!list.empty()) {
            std::size_t slash = list.find('/');
            out.emplace_back(list.substr(0, slash));
            list.remove_prefix(slash == std::string_view::npos ? list.size() : slash + 1);
        }
    }
    return out;
}

// libedit frees what the generator returns, so each match is a malloc'ed copy.
char* commandGenerator(const char* text, int state)
{
    static std::size_t next = 0;
    if (state == 0) {
        next = 0;
        g_matches.clear();
        for (std::string& word : candidates())
            if (startsWithIgnoringCase(word, text))
                g_matches.push_back(std::move(word));
    }
    if (next >= g_matches.size())
        return nullptr;
    return strdup(g_matches[next++].c_str());
}

char** completeCommand(const char* text, int, int)
{
    rl_attempted_completion_over = 1;
    return rl_completion_matches(text, commandGenerator);
}

} // namespace

LineEditInputSource::LineEditInputSource(const vantrel::CommandRegistry& commands, std::string historyFile,
                                         vantrel::Transcript& transcript)
    : m_historyFile(std::move(historyFile)), m_transcript(transcript)
{
    assert(!g_commands && "one line editor at a time");
    g_commands = &commands;
    rl_readline_name = "vantrel";
    rl_attempted_completion_function = completeCommand;
    if (!m_historyFile.empty())
        read_history(m_historyFile.c_str());
}

LineEditInputSource::~LineEditInputSource()
{
    if (!m_historyFile.empty() && m_lines > 0) {
        std::error_code ec;
        std::filesystem::create_directories(std::filesystem::path(m_historyFile).parent_path(), ec);
        if (write_history(m_historyFile.c_str()) != 0)
            std::cerr << "vantrel: cannot write the history to " << m_historyFile << '\n';
    }
    g_commands = nullptr;
}

vantrel::InputEvent LineEditInputSource::next(std::wstring_view prompt)
{
    m_transcript.finish();
    std::cout.flush();
    const std::string shown = OdString(std::wstring(prompt)).toUtf8();
    g_prompt = shown;
    for (;;) {
        char* raw = readline(shown.c_str());
        if (!raw) {
            std::cout << '\n';
            return vantrel::InputEvent::of(vantrel::InputEvent::Kind::End);
        }
        std::string line(raw);
        std::free(raw);
        if (line.find_first_not_of(" \t") != std::string::npos) {
            add_history(line.c_str());
            ++m_lines;
        }
        if (auto event = vantrel::ScriptInputSource::parseLine(OdString::fromUtf8(line).str(), L"input"))
            return *event;
    }
}
