// Resolution of by-layer and by-block colours, lineweights and linetypes for display.
#include "display_props.h"

#include <vantrel/db/OdDbDatabase.h>
#include <vantrel/db/OdDbTables.h>

namespace vantrel {

ResolvedProps resolveProps(const OdDbEntity& entity, const ResolvedProps* inBlock)
{
    const OdDbEntity::CommonData& c = entity.commonData();
    OdDbDatabase* db = entity.database();
    ResolvedProps p{c.color, c.lineWeight, c.linetype, c.layer};
    if (inBlock && db && p.layer == db->getLayerZeroId())
        p.layer = inBlock->layer;
    const bool linetypeByLayer = p.linetype.isNull() || (db && p.linetype == db->getLinetypeByLayerId());
    if (p.color.isByLayer() || p.lineWeight == -1 || linetypeByLayer) {
        OdDbLayerTableRecordPtr layer = OdDbLayerTableRecord::cast(p.layer.openObject().get());
        if (layer) {
            if (p.color.isByLayer())
                p.color = layer->color();
            if (p.lineWeight == -1)
                p.lineWeight = layer->lineWeight();
            if (linetypeByLayer)
                p.linetype = layer->linetypeObjectId();
        }
    }
    if (p.color.isByBlock() || p.color.isByLayer())
        p.color = inBlock ? inBlock->color : OdCmColor(OdCmEntityColor::kByBlock);
    if (p.lineWeight == -2 || p.lineWeight == -1)
        p.lineWeight = inBlock ? inBlock->lineWeight : std::int16_t{-3};
    if (db && !p.linetype.isNull() && p.linetype == db->getLinetypeByBlockId())
        p.linetype = inBlock ? inBlock->linetype : OdDbObjectId();
    return p;
}

bool layerShown(OdDbObjectId layerId)
{
    OdDbLayerTableRecordPtr layer = OdDbLayerTableRecord::cast(layerId.openObject().get());
    return !layer || (!layer->isOff() && !layer->isFrozen());
}

} // namespace vantrel
