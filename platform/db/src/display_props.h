// How an entity's by-layer and by-block properties resolve to what is drawn: through its layer,
// and inside a block through the insert that draws it, whose layer entities on layer 0 take.
#pragma once

#include <vantrel/db/LayerVisibility.h>
#include <vantrel/db/OdDbEntity.h>

namespace vantrel {

// Properties an entity is drawn with, and what an insert hands the entities of its block.
struct ResolvedProps {
    OdCmColor color;              // by block when nothing gave a colour (drawn white)
    std::int16_t lineWeight = -3; // hundredths of a millimetre, or -3 the drawing's default
    OdDbObjectId linetype;        // null or the by-block record: continuous
    OdDbObjectId layer;           // the layer that decides visibility and by-layer values
};

// inBlock: the properties of the insert drawing the entity, null outside any block.
ResolvedProps resolveProps(const OdDbEntity& entity, const ResolvedProps* inBlock);

} // namespace vantrel
