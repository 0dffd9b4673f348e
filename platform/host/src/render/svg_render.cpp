// Drawing a block of a database into SVG, honouring draw order and layer visibility. The picture
// is written as it is drawn: a first pass measures it (the view box at its start needs the
// extents of everything), a second writes its elements straight to the output.
#include <vantrel/host/svg_render.h>

#include <vantrel/db/LayerVisibility.h>
#include <vantrel/db/OdDbBlockTableRecord.h>
#include <vantrel/db/OdDbSortentsTable.h>
#include <vantrel/db/OdDbTables.h>
#include <vantrel/host/SvgSink.h>
#include <vantrel/host/write_file.h>

namespace vantrel {

namespace {

std::vector<OdDbObjectId> drawOrder(OdDbObjectId block)
{
    OdDbBlockTableRecordPtr btr = block.safeOpenObject();
    if (OdDbSortentsTablePtr sortents = btr->getSortentsTable(false))
        return sortents->drawOrder();
    std::vector<OdDbObjectId> order;
    for (OdDbObjectIteratorPtr it = btr->newIterator(); !it->done(); it->step())
        order.push_back(it->objectId());
    return order;
}

void draw(SvgSink& sink, std::span<const OdDbObjectId> order, std::span<const OdDbEntity* const> overlay)
{
    for (OdDbObjectId id : order) {
        OdDbEntityPtr entity = OdDbEntity::cast(id.openObject().get());
        if (!entity || entity->visibility() == OdDb::kInvisible || !layerShown(entity->layerId()))
            continue;
        entity->draw(sink);
    }
    for (const OdDbEntity* entity : overlay)
        entity->draw(sink);
}

void writeSvgTo(TextOutput& out, OdDbDatabase& db, OdDbObjectId block, std::span<const OdDbEntity* const> overlay)
{
    if (block.isNull())
        block = db.getModelSpaceId();
    const std::vector<OdDbObjectId> order = drawOrder(block);
    const bool lineweights = db.sysVarInt(L"LWDISPLAY") != 0;
    SvgSink measured(nullptr);
    measured.showLineweights(lineweights);
    draw(measured, order, overlay);
    measured.writeStart(out);
    SvgSink elements(&out);
    elements.showLineweights(lineweights);
    draw(elements, order, overlay);
    measured.writeEnd(out);
}

} // namespace

std::string renderSvg(OdDbDatabase& db, OdDbObjectId block) { return renderSvg(db, block, {}); }

std::string renderSvg(OdDbDatabase& db, OdDbObjectId block, std::span<const OdDbEntity* const> overlay)
{
    std::string text;
    TextOutput out([&text](std::string_view piece) { text.append(piece); });
    writeSvgTo(out, db, block, overlay);
    out.flush();
    return text;
}

std::string writeSvg(OdDbDatabase& db, const std::string& path) { return writeSvg(db, path, {}); }

std::string writeSvg(OdDbDatabase& db, const std::string& path, std::span<const OdDbEntity* const> overlay)
{
    return writeFileAtomically(path, [&](TextOutput& out) { writeSvgTo(out, db, OdDbObjectId::kNull, overlay); });
}

} // namespace vantrel
