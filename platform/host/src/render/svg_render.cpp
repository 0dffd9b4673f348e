// Drawing a block of a database into SVG, honouring draw order and layer visibility. The picture
// is written as it is drawn: a first pass measures it (the view box at its start needs the
// extents of everything), a second writes its elements straight to the output; a large drawing
// going to a file is drawn once, its start written last.
#include <vantrel/host/svg_render.h>

#include <vantrel/db/LayerVisibility.h>
#include <vantrel/db/OdDbBlockTableRecord.h>
#include <vantrel/db/OdDbSortentsTable.h>
#include <vantrel/db/OdDbTables.h>
#include <vantrel/db/OdError.h>
#include <vantrel/db/OutputFile.h>
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

// A drawing of this many entities or more is drawn once when its picture goes to a file that
// is being replaced: the elements are written as they are measured, after room left for the
// start, which is written over that room once the drawing is measured. A smaller one is drawn
// twice (measured, then written), which keeps its picture free of the room's blanks.
constexpr std::size_t kDrawnOnce = 4096;
// The room for the start: the declaration, the view box, the lineweights' styles and the
// background, with blanks after them. Only more than a hundred lineweights would need more.
constexpr std::size_t kStartRoom = 4096;

bool showsLineweights(OdDbDatabase& db) { return db.sysVarInt(L"LWDISPLAY") != 0; }

void writeSvgTo(TextOutput& out, OdDbDatabase& db, std::span<const OdDbObjectId> order,
                std::span<const OdDbEntity* const> overlay)
{
    const bool lineweights = showsLineweights(db);
    SvgSink measured(nullptr);
    measured.showLineweights(lineweights);
    draw(measured, order, overlay);
    measured.writeStart(out);
    SvgSink elements(&out);
    elements.showLineweights(lineweights);
    draw(elements, order, overlay);
    measured.writeEnd(out);
}

// The picture drawn once into a file being replaced. False, with the file left as it was, when
// the start does not fit its room.
bool writtenOnce(OdDbDatabase& db, const std::string& path, std::span<const OdDbObjectId> order,
                 std::span<const OdDbEntity* const> overlay)
{
    OutputFile file(path, OutputFile::Backup::None);
    TextOutput out([&file](NumberedText& piece) { return file.write(piece); });
    out.append(std::string(kStartRoom, ' '));
    SvgSink sink(&out, true);
    sink.showLineweights(showsLineweights(db));
    draw(sink, order, overlay);
    sink.writeEnd(out);
    out.flush();
    std::string start;
    TextOutput startOut([&start](std::string_view piece) { start.append(piece); });
    sink.writeStart(startOut);
    startOut.flush();
    if (start.size() >= kStartRoom)
        return false;
    start.append(kStartRoom - start.size() - 1, ' ').push_back('\n');
    file.overwriteStart(start);
    file.commit();
    return true;
}

} // namespace

std::string renderSvg(OdDbDatabase& db, OdDbObjectId block) { return renderSvg(db, block, {}); }

std::string renderSvg(OdDbDatabase& db, OdDbObjectId block, std::span<const OdDbEntity* const> overlay)
{
    std::string text;
    TextOutput out([&text](std::string_view piece) { text.append(piece); });
    writeSvgTo(out, db, drawOrder(block.isNull() ? db.getModelSpaceId() : block), overlay);
    out.flush();
    return text;
}

std::string writeSvg(OdDbDatabase& db, const std::string& path) { return writeSvg(db, path, {}); }

std::string writeSvg(OdDbDatabase& db, const std::string& path, std::span<const OdDbEntity* const> overlay)
{
    try {
        const std::vector<OdDbObjectId> order = drawOrder(db.getModelSpaceId());
        if (order.size() >= kDrawnOnce && resolveOutputTarget(path).kind == OutputTarget::Kind::Replace
            && writtenOnce(db, path, order, overlay))
            return {};
        return writeFileAtomically(path, [&](TextOutput& out) { writeSvgTo(out, db, order, overlay); });
    } catch (const OdError& e) {
        return e.what();
    }
}

} // namespace vantrel
