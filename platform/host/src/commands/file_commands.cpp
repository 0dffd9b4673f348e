// SAVE (the drawing as DXF, written atomically) and HELP (the command names).
#include "commands/host_commands.h"

#include <memory>

#include <vantrel/db/DxfFile.h>
#include <vantrel/host/HostDocument.h>
#include <vantrel/host/InputSyntax.h>

namespace vantrel {

namespace {

// SAVE remembers the last name it wrote, offered as the default of the next SAVE.
class SaveCommand {
public:
    void operator()(HostDocument& doc)
    {
        HostEditor& ed = doc.editor();
        const std::wstring prompt =
            m_lastName->empty() ? std::wstring(L"Enter file name") : L"Enter file name <" + *m_lastName + L">";
        OdString typed;
        InputResult r = ed.getKeyword(prompt.c_str(), L"", kAcceptText, &typed);
        std::wstring name(InputSyntax::trim(typed.c_str()));
        if (name.size() >= 2 && name.front() == L'"' && name.back() == L'"')
            name = name.substr(1, name.size() - 2);
        if ((r == kInputEmpty || (r == kInputText && name.empty())) && !m_lastName->empty())
            name = *m_lastName;
        else if (r != kInputText || name.empty())
            return;
        if (!hasDxfExtension(name))
            name += L".dxf";
        const std::string error = writeDxf(*doc.database(), OdString(name).toUtf8());
        if (!error.empty()) {
            ed.printMessage(L"\n%s", error);
            return;
        }
        *m_lastName = name;
        ed.printMessage(L"\nSaved %s", name);
    }

private:
    static bool hasDxfExtension(const std::wstring& name)
    {
        return name.size() > 4 && CommandRegistry::key(name.substr(name.size() - 4)) == L".DXF";
    }

    // Shared by the copies the registry keeps of this command.
    std::shared_ptr<std::wstring> m_lastName = std::make_shared<std::wstring>();
};

// The registered names, wrapped at 72 columns.
void helpCommand(HostDocument& doc)
{
    constexpr std::size_t kWidth = 72;
    std::wstring line;
    doc.editor().printMessage(L"\nCommands:");
    for (const std::wstring& name : CommandRegistry::global().names()) {
        if (!line.empty() && line.size() + 1 + name.size() > kWidth) {
            doc.editor().printMessage(L"\n  %s", line);
            line.clear();
        }
        line += (line.empty() ? L"" : L" ") + name;
    }
    if (!line.empty())
        doc.editor().printMessage(L"\n  %s", line);
}

} // namespace

void registerFileCommands(CommandRegistry& registry)
{
    registry.addHostCommand(L"SAVE", SaveCommand());
    registry.addHostCommand(L"HELP", helpCommand);
}

} // namespace vantrel
