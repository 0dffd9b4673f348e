// U and REDO: they work on the undo history itself, so they run outside an undo group.
#include "commands/host_commands.h"

#include <vantrel/host/HostDocument.h>

namespace vantrel {

namespace {

void undoLastCommand(HostDocument& doc)
{
    OdDbDatabase* db = doc.database();
    // Commands that changed nothing left empty groups; U skips them to reach one that did.
    while (db->hasUndo()) {
        std::size_t before = db->undoLogSize();
        if (db->undo())
            return;
        if (db->undoLogSize() >= before)
            break;
    }
    doc.editor().printMessage(L"\nNothing to undo.");
}

void redoLastUndo(HostDocument& doc)
{
    if (!doc.database()->redo())
        doc.editor().printMessage(L"\nNothing to redo.");
}

} // namespace

void registerUndoCommands(CommandRegistry& registry)
{
    registry.addHostCommand(L"U", undoLastCommand, false);
    registry.addHostCommand(L"REDO", redoLastUndo, false);
}

} // namespace vantrel
