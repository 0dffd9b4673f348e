// U and REDO: they work on the undo history itself, so they run outside an undo group, and name
// the command they took back or put back.
#include "commands/host_commands.h"

#include <vantrel/host/HostDocument.h>

namespace vantrel {

namespace {

// The active viewport follows CVPORT when taking back or putting back a space switch.
class ViewportFollower {
public:
    explicit ViewportFollower(OdDbDatabase& db) : m_db(db), m_before(db.sysVarInt(L"CVPORT")) {}
    ~ViewportFollower()
    {
        if (m_db.sysVarInt(L"CVPORT") != m_before)
            followViewportVariable(m_db);
    }
    ViewportFollower(const ViewportFollower&) = delete;
    ViewportFollower& operator=(const ViewportFollower&) = delete;

private:
    OdDbDatabase& m_db;
    std::int32_t m_before;
};

void nameStep(HostDocument& doc, const OdString& label)
{
    if (!label.isEmpty())
        doc.editor().printMessage(L"\n%s", CommandRegistry::key(label.c_str()));
}

void undoLastCommand(HostDocument& doc)
{
    OdDbDatabase* db = doc.database();
    ViewportFollower follower(*db);
    // Commands that changed nothing left empty groups; U skips them to reach one that did.
    while (db->hasUndo()) {
        std::size_t before = db->undoLogSize();
        OdString label;
        if (db->undo(&label)) {
            nameStep(doc, label);
            if (!db->hasUndo())
                doc.editor().printMessage(L"\nEverything has been undone");
            return;
        }
        if (db->undoLogSize() >= before)
            break;
    }
    doc.editor().printMessage(L"\nNothing to undo.");
}

void redoLastUndo(HostDocument& doc)
{
    ViewportFollower follower(*doc.database());
    OdString label;
    if (doc.database()->redo(&label))
        nameStep(doc, label);
    else
        doc.editor().printMessage(L"\nNothing to redo.");
}

} // namespace

void registerUndoCommands(CommandRegistry& registry)
{
    registry.addHostCommand(L"U", undoLastCommand, false);
    registry.addHostCommand(L"REDO", redoLastUndo, false);
}

void registerHostCommands(CommandRegistry& registry)
{
    registerUndoCommands(registry);
    registerDrawCommands(registry);
    registerEditCommands(registry);
    registerSettingsCommands(registry);
    registerViewCommands(registry);
    registerFileCommands(registry);
    registerHelpCommand(registry);
}

} // namespace vantrel
