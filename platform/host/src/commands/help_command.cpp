// HELP: the command names, or one command's prompts and options as the command documentation
// (docs/commands.md, compiled into the host) describes them.
#include "commands/host_commands.h"

#include <string_view>
#include <vector>

#include <vantrel/host/HostDocument.h>
#include <vantrel/host/InputSyntax.h>

#include "commands/command_docs.h"

namespace vantrel {

namespace {

std::vector<std::string_view> lines(std::string_view text)
{
    std::vector<std::string_view> out;
    while (!text.empty()) {
        std::size_t end = text.find('\n');
        out.push_back(text.substr(0, end));
        text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
    }
    return out;
}

// Whether a heading ("## QUIT, EXIT") names the command.
bool headingNames(std::string_view heading, const std::wstring& key)
{
    std::wstring names = OdString::fromUtf8(heading).str();
    for (wchar_t& c : names)
        if (c == L',')
            c = L' ';
    std::size_t start = 0;
    while ((start = names.find_first_not_of(L' ', start)) != std::wstring::npos) {
        std::size_t end = names.find(L' ', start);
        if (CommandRegistry::key(names.substr(start, end - start)) == key)
            return true;
        start = end;
    }
    return false;
}

// The lines of the command's section, without the markup of code; empty when it has none.
std::vector<std::wstring> commandHelp(const std::wstring& name)
{
    const std::wstring key = CommandRegistry::key(name);
    std::vector<std::wstring> section;
    bool inside = false;
    for (std::string_view line : lines(commandDocs())) {
        if (line.starts_with("#")) {
            if (inside)
                break;
            inside = line.starts_with("## ") && headingNames(line.substr(3), key);
            continue;
        }
        if (!inside)
            continue;
        std::string plain;
        for (char c : line)
            if (c != '`')
                plain += c;
        section.push_back(OdString::fromUtf8(plain).str());
    }
    while (!section.empty() && InputSyntax::trim(section.back()).empty())
        section.pop_back();
    while (!section.empty() && InputSyntax::trim(section.front()).empty())
        section.erase(section.begin());
    return section;
}

// The registered names, wrapped at 72 columns.
void listCommands(HostEditor& ed)
{
    constexpr std::size_t kWidth = 72;
    std::wstring line;
    ed.printMessage(L"\nCommands:");
    for (const std::wstring& name : CommandRegistry::global().names()) {
        if (!line.empty() && line.size() + 1 + name.size() > kWidth) {
            ed.printMessage(L"\n  %s", line);
            line.clear();
        }
        line += (line.empty() ? L"" : L" ") + name;
    }
    if (!line.empty())
        ed.printMessage(L"\n  %s", line);
    ed.printMessage(L"\nHELP NAME describes a command.");
}

void helpCommand(HostDocument& doc)
{
    HostEditor& ed = doc.editor();
    OdString typed;
    InputResult r = ed.getKeyword(L"Enter a command name <list them all>", L"", kAcceptText, &typed);
    const std::wstring_view name = CommandRegistry::nameOf(typed.c_str());
    if (r == kInputEmpty || (r == kInputText && name.empty())) {
        listCommands(ed);
        return;
    }
    if (r != kInputText)
        return;
    const CommandRegistry::Command* command = CommandRegistry::global().find(name);
    if (!command) {
        ed.printMessage(L"\nUnknown command \"%s\".", CommandRegistry::key(name));
        return;
    }
    const std::vector<std::wstring> help = commandHelp(command->name);
    if (help.empty()) {
        ed.printMessage(L"\n%s has no description.", command->name);
        return;
    }
    std::wstring text;
    for (const std::wstring& line : help)
        text += L"\n" + line;
    ed.printMessage(L"%s", text);
}

} // namespace

void registerHelpCommand(CommandRegistry& registry) { registry.addHostCommand(L"HELP", helpCommand); }

} // namespace vantrel
