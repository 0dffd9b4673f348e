// Drawing a block of a database into an SvgSink, honouring draw order and layer visibility.
#include <vantrel/host/svg_render.h>

#include <vantrel/db/LayerVisibility.h>
#include <vantrel/db/OdDbBlockTableRecord.h>
#include <vantrel/db/OdDbSortentsTable.h>
#include <vantrel/db/OdDbTables.h>
#include <vantrel/host/SvgSink.h>
#include <vantrel/host/write_file.h>

namespace vantrel {

std::string renderSvg(OdDbDatabase& db, OdDbObjectId block) { return renderSvg(db, block, {}); }

std::string renderSvg(OdDbDatabase& db, OdDbObjectId block, std::span<const OdDbEntity* const> overlay)
{
    if (block.isNull())
        block = db.getModelSpaceId();
    OdDbBlockTableRecordPtr btr = block.safeOpenObject();
    OdDbSortentsTablePtr sortents = btr->getSortentsTable(false);
    std::vector<OdDbObjectId> order;
    if (sortents) {
        order = sortents->drawOrder();
    } else {
        for (OdDbObjectIteratorPtr it = btr->newIterator(); !it->done(); it->step())
            order.push_back(it->objectId());
    }
    SvgSink sink;
    sink.showLineweights(db.sysVarInt(L"LWDISPLAY") != 0);
    for (OdDbObjectId id : order) {
        OdDbEntityPtr entity = OdDbEntity::cast(id.openObject().get());
        if (!entity || entity->visibility() == OdDb::kInvisible || !layerShown(entity->layerId()))
            continue;
        entity->draw(sink);
    }
    for (const OdDbEntity* entity : overlay)
        entity->draw(sink);
    return sink.document();
}

std::string writeSvg(OdDbDatabase& db, const std::string& path) { return writeFileAtomically(path, renderSvg(db)); }

std::string writeSvg(OdDbDatabase& db, const std::string& path, std::span<const OdDbEntity* const> overlay)
{
    return writeFileAtomically(path, renderSvg(db, OdDbObjectId::kNull, overlay));
}

} // namespace vantrel
