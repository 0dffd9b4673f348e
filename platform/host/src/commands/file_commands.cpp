// SAVE (the drawing as DXF, written atomically), QUIT and EXIT, and the question asked before
// leaving with unsaved changes.
#include "commands/host_commands.h"

#include <optional>

#include <vantrel/host/HostApplication.h>
#include <vantrel/host/HostDocument.h>
#include <vantrel/host/InputSyntax.h>
#include <vantrel/host/save_drawing.h>

namespace vantrel {

namespace {

constexpr int kYes = 2;
constexpr int kNo = 3;

bool hasDxfExtension(const std::wstring& name)
{
    return name.size() > 4 && CommandRegistry::key(name.substr(name.size() - 4)) == L".DXF";
}

// A file name typed (in double quotes or not; `.dxf` added when missing) or, on Enter, the
// drawing's own name; asked again while there is neither. Nothing when cancelled.
std::optional<std::wstring> askFileName(HostDocument& doc)
{
    HostEditor& ed = doc.editor();
    const std::wstring current = doc.fileName();
    const std::wstring prompt
        = current.empty() ? std::wstring(L"Enter file name") : L"Enter file name <" + current + L">";
    for (;;) {
        OdString typed;
        InputResult r = ed.getKeyword(prompt.c_str(), L"", kAcceptText, &typed);
        if (r != kInputText && r != kInputEmpty)
            return std::nullopt;
        std::wstring name(InputSyntax::trim(typed.c_str()));
        if (name.size() >= 2 && name.front() == L'"' && name.back() == L'"')
            name = name.substr(1, name.size() - 2);
        if (r == kInputText && !name.empty())
            return hasDxfExtension(name) ? name : name + L".dxf";
        if (!current.empty())
            return current;
        ed.printMessage(L"\nThe drawing has no file name yet; enter one.");
    }
}

// Saves and says so; false (with the reason printed) when the file could not be written.
bool saveTo(HostDocument& doc, const std::wstring& name)
{
    const std::string error = saveDocument(doc, name);
    if (!error.empty()) {
        doc.editor().printMessage(L"\n%s", error);
        return false;
    }
    doc.editor().printMessage(L"\nSaved %s", name);
    return true;
}

void saveCommand(HostDocument& doc)
{
    if (std::optional<std::wstring> name = askFileName(doc))
        saveTo(doc, *name);
}

void quitCommand(HostDocument& doc) { doc.application().requestQuit(); }

} // namespace

bool confirmLeaving(HostDocument& doc)
{
    if (!doc.isModified())
        return true;
    const std::wstring name = doc.fileName().empty() ? std::wstring(L"the new drawing") : doc.fileName();
    const std::wstring prompt = L"Save changes to " + name + L"? [%s] <Yes>";
    switch (doc.editor().getKeyword(prompt.c_str(), L"Yes No Cancel")) {
    case kInputEmpty:
    case kYes: {
        std::optional<std::wstring> file = doc.fileName().empty() ? askFileName(doc) : doc.fileName();
        return file && saveTo(doc, *file);
    }
    case kNo: doc.discardChanges(); return true;
    default: return false;
    }
}

void registerFileCommands(CommandRegistry& registry)
{
    registry.addHostCommand(L"SAVE", saveCommand);
    registry.addHostCommand(L"QUIT", quitCommand, false);
    registry.addHostCommand(L"EXIT", quitCommand, false);
}

} // namespace vantrel
