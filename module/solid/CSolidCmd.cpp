// The Solid dialogue. Each solid is appended to the space fixed at the start as soon as its
// fourth corner is known; a solid whose fourth corner is cancelled is never added.
#include "solid/CSolidCmd.h"

#include <vantrel/db/OdDbBlockTableRecord.h>
#include <vantrel/db/OdDbSolid.h>
#include <vantrel/host/HostDocument.h>
#include <vantrel/host/HostEditor.h>
#include <vantrel/host/hostutils.h>

#include "frame/command_exception.h"
#include "frame/host_binding.h"
#include "frame/module_instance.h"
#include "solid/SolidTracker.h"

namespace {

// The answer that chose "Exit" at the fourth corner.
constexpr InputResult kExit = kInputFirstKeyword;

InputResult askCorner(HostEditor& editor, unsigned prompt, OdGePoint3d& corner, InputFlags flags, SolidTracker* tracker,
                      const wchar_t* keywords = nullptr)
{
    return editor.getPoint(nullptr, corner, vantrel::loadResource(prompt), keywords, flags, nullptr, tracker);
}

void appendSolid(OdDbObjectId space, const OdDbSolidPtr& solid)
{
    OdDbBlockTableRecordPtr block = space.safeOpenObject(OdDb::kForWrite);
    block->appendOdDbEntity(solid.get());
}

} // namespace

void CSolidCmd::Run()
{
    try {
        HostDocument* document = vantrel::commandDocument();
        if (!document)
            return;
        OdDbDatabasePtr db(document->database());
        HostEditor& editor = document->editor();
        const OdDbObjectId space = getActiveBTRId(db.get());

        OdGePoint3d p1, p2, p3, p4;
        const InputResult first = askCorner(editor, kFirstPointPrompt, p1, 0, nullptr);
        SolidTracker tracker(p1, db.get());
        if (first != kInputValue)
            return;
        if (askCorner(editor, kSecondPointPrompt, p2, 0, &tracker) != kInputValue)
            return;
        const CXStringW exitKeyword = vantrel::loadResource(kExitKeyword);
        for (;;) {
            tracker.setTrackerStage(3);
            // Anything but a third corner is the normal end of the command.
            if (askCorner(editor, kThirdPointPrompt, p3, kAcceptEmpty, &tracker) != kInputValue)
                return;
            OdDbSolidPtr solid = OdDbSolid::createObject();
            solid->setDatabaseDefaults(db.get());
            solid->setPointAt(0, p1);
            solid->setPointAt(1, p2);
            solid->setPointAt(2, p3);

            tracker.setTrackerStage(4);
            switch (askCorner(editor, kFourthPointPrompt, p4, kAcceptEmpty, &tracker, exitKeyword)) {
            case kInputValue: break;
            case kInputEmpty:
            case kExit:
                p4 = p3; // a triangle
                break;
            default: return;
            }
            solid->setPointAt(3, p4);
            appendSolid(space, solid);

            p1 = p3;
            p2 = p4;
            tracker.reset(p3, p4);
        }
    } catch (...) {
        showCommandException(L"CSolidCmd::Run");
    }
}
