// Drawing a block of a database into SVG, honouring draw order and layer visibility. The view box
// at the start of the picture needs the extents of everything, known only once all is drawn: a
// file being replaced gets its elements through a scratch file, drawn once; any other output is
// drawn twice, a first pass measuring, a second writing the elements straight to the output.
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

// Writes the picture in two passes over the drawing: one that measures it, one that writes the
// elements after the start the first one wrote.
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

// Writes the picture in one pass: the elements go to a scratch file as they are drawn (the sink
// measures while it writes), and follow the start once it is known.
void writeSvgThrough(OutputFile& scratch, TextOutput& out, OutputFile& file, OdDbDatabase& db,
                     std::span<const OdDbEntity* const> overlay)
{
    const std::vector<OdDbObjectId> order = drawOrder(db.getModelSpaceId());
    TextOutput body = textOutputFor(scratch);
    SvgSink elements(&body);
    elements.showLineweights(db.sysVarInt(L"LWDISPLAY") != 0);
    draw(elements, order, overlay);
    body.flush();
    elements.writeStart(out);
    out.flush();
    file.append(scratch);
    elements.writeEnd(out);
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
    return writeFileAtomically(path, [&](TextOutput& out, OutputFile& file) {
        if (const std::unique_ptr<OutputFile> scratch = OutputFile::scratchFor(file))
            writeSvgThrough(*scratch, out, file, db, overlay);
        else
            writeSvgTo(out, db, OdDbObjectId::kNull, overlay);
    });
}

} // namespace vantrel
