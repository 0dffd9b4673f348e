// ZOOM and the space switches (MSPACE, PSPACE, MODEL, LAYOUT): what the user looks at and which
// space new entities go to. TILEMODE and CVPORT record the choice in the drawing, and the current
// sheet's block its name, so U takes it back.
#include "commands/host_commands.h"

#include <vantrel/db/OdDbBlockTableRecord.h>
#include <vantrel/db/OdDbViewport.h>
#include <vantrel/db/OdDbLayout.h>
#include <vantrel/db/drawing_extents.h>
#include <vantrel/db/layouts.h>
#include <vantrel/host/HostDocument.h>
#include <vantrel/host/InputSyntax.h>
#include <vantrel/host/hostutils.h>

namespace vantrel {

namespace {

// The first paper-space viewport that the test accepts; null when none does.
template <class Test>
OdDbObjectId findViewport(OdDbDatabase& db, Test test)
{
    OdDbBlockTableRecordPtr paper = db.getPaperSpaceId().safeOpenObject();
    for (OdDbObjectIteratorPtr it = paper->newIterator(); !it->done(); it->step()) {
        OdDbViewportPtr viewport = OdDbViewport::cast(it->entity().get());
        if (viewport && test(*viewport))
            return it->objectId();
    }
    return OdDbObjectId::kNull;
}

void setInt(OdDbDatabase& db, const wchar_t* name, std::int32_t value)
{
    if (db.sysVarInt(name) != value)
        db.setSysVar(name, OdResBuf::newRb(70, value).get());
}

// Paper space with the sheet itself active (CVPORT 1). A sheet never shown has no view of its
// own yet: it is worked on all the same, with no viewport active.
void activateSheet(HostDocument& doc)
{
    OdDbDatabase& db = *doc.database();
    const OdDbObjectId sheet = findViewport(db, [](const OdDbViewport& v) { return v.number() == 1; });
    setInt(db, L"TILEMODE", 0);
    setInt(db, L"CVPORT", 1);
    db.setActiveViewportId(sheet);
}

bool inLayout(HostDocument& doc, const wchar_t* command)
{
    if (!doc.database()->getTILEMODE())
        return true;
    doc.editor().printMessage(L"\n%s works in a layout; switch with LAYOUT first.", command);
    return false;
}

void mspaceCommand(HostDocument& doc)
{
    if (!inLayout(doc, L"MSPACE"))
        return;
    OdDbDatabase& db = *doc.database();
    OdDbObjectId id = findViewport(db, [](const OdDbViewport& v) { return v.number() > 1 && v.isOn(); });
    if (id.isNull()) {
        doc.editor().printMessage(L"\nNo floating viewport is on.");
        return;
    }
    setInt(db, L"CVPORT", OdDbViewportPtr(id.safeOpenObject())->number());
    db.setActiveViewportId(id);
}

void pspaceCommand(HostDocument& doc)
{
    if (inLayout(doc, L"PSPACE"))
        activateSheet(doc);
}

void modelCommand(HostDocument& doc) { setInt(*doc.database(), L"TILEMODE", 1); }

std::wstring layoutName(OdDbObjectId layout) { return OdDbLayoutPtr(layout.safeOpenObject())->getLayoutName().c_str(); }

// The layout to show: a typed name, or Enter for the current sheet; an unknown name is asked again.
OdDbObjectId askLayout(HostDocument& doc, OdDbObjectId current)
{
    HostEditor& ed = doc.editor();
    const std::wstring prompt = L"Enter layout name <" + layoutName(current) + L">";
    for (;;) {
        OdString typed;
        const InputResult r = ed.getKeyword(prompt.c_str(), L"", kAcceptText, &typed);
        const std::wstring name(InputSyntax::trim(typed.c_str()));
        if (r == kInputEmpty || (r == kInputText && name.empty()))
            return current;
        if (r != kInputText)
            return OdDbObjectId();
        if (OdDbObjectId found = findLayout(*doc.database(), name.c_str()); !found.isNull())
            return found;
        ed.printMessage(L"\nNo layout named \"%s\".", name);
    }
}

void layoutCommand(HostDocument& doc)
{
    OdDbDatabase& db = *doc.database();
    const OdDbObjectId current = currentSheet(db);
    if (current.isNull()) {
        // Older files have a paper space but no layout objects: it is the only sheet.
        if (!db.getTILEMODE())
            doc.editor().printMessage(L"\nThe layout is current already.");
        else if (!db.getPaperSpaceId().isNull())
            activateSheet(doc);
        return;
    }
    const OdDbObjectId chosen = askLayout(doc, current);
    if (chosen.isNull())
        return;
    if (OdDbLayoutPtr(chosen.safeOpenObject())->modelType()) {
        modelCommand(doc);
        return;
    }
    if (chosen == current && !db.getTILEMODE()) {
        doc.editor().printMessage(L"\nThe layout is current already.");
        return;
    }
    makeSheetCurrent(db, chosen);
    activateSheet(doc);
}

void showView(HostDocument& doc, const OdGeExtents3d& view)
{
    doc.setViewExtents(view);
    doc.editor().printMessage(L"\nShowing %s,%s to %s,%s", formatNumber(view.minPoint().x),
                              formatNumber(view.minPoint().y), formatNumber(view.maxPoint().x),
                              formatNumber(view.maxPoint().y));
}

void zoomExtents(HostDocument& doc)
{
    const OdGeExtents3d all = blockExtents(getActiveBTRId(doc.database()));
    if (!all.isValidExtents()) {
        doc.editor().printMessage(L"\nThe space is empty.");
        return;
    }
    showView(doc, all);
}

// A window needs extent in both directions; the second corner is asked again until it has.
void zoomWindow(HostDocument& doc, const OdGePoint3d* first)
{
    HostEditor& ed = doc.editor();
    OdGePoint3d a;
    if (first)
        a = *first;
    else if (ed.getPoint(nullptr, a, L"Specify first corner") != kInputValue)
        return;
    for (;;) {
        OdGePoint3d b;
        if (ed.getPoint(&a, b, L"Specify opposite corner", nullptr, kRubberBand) != kInputValue)
            return;
        if (std::abs(b.x - a.x) > 1e-9 && std::abs(b.y - a.y) > 1e-9) {
            showView(doc, OdGeExtents3d(a, b));
            return;
        }
        ed.printMessage(L"\nThe corners must differ in both X and Y.");
    }
}

void zoomCommand(HostDocument& doc)
{
    OdGePoint3d corner;
    InputResult r
        = doc.editor().getPoint(nullptr, corner, L"Specify corner of window or [%s] <Extents>", L"Extents Window");
    if (r == kInputValue)
        zoomWindow(doc, &corner);
    else if (r == kInputEmpty || r == kInputFirstKeyword)
        zoomExtents(doc);
    else if (r == kInputFirstKeyword + 1)
        zoomWindow(doc, nullptr);
}

} // namespace

void followViewportVariable(OdDbDatabase& db)
{
    if (db.getTILEMODE() || db.getPaperSpaceId().isNull())
        return;
    const std::int32_t number = db.sysVarInt(L"CVPORT");
    OdDbObjectId id = findViewport(db, [number](const OdDbViewport& v) { return v.number() == number; });
    if (!id.isNull())
        db.setActiveViewportId(id);
}

void registerViewCommands(CommandRegistry& registry)
{
    registry.addHostCommand(L"ZOOM", zoomCommand);
    registry.addHostCommand(L"MSPACE", mspaceCommand);
    registry.addHostCommand(L"PSPACE", pspaceCommand);
    registry.addHostCommand(L"MODEL", modelCommand);
    registry.addHostCommand(L"LAYOUT", layoutCommand);
}

} // namespace vantrel
