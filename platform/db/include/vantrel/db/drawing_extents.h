// The extents of what a drawing's spaces hold, and the header variables that record them
// (EXTMIN/EXTMAX for model space, PEXTMIN/PEXTMAX for paper space), kept up to date on save.
#pragma once

#include <vantrel/db/OdDbDatabase.h>
#include <vantrel/ge/OdGeExtents3d.h>
#include <vantrel/db/OdDbExport.h>

namespace vantrel {

// The box around everything the block's entities draw (erased entities left out, invisible ones
// and those on hidden layers counted); invalid when nothing in it draws.
VANTREL_DB_EXPORT OdGeExtents3d blockExtents(OdDbObjectId block);

// Sets EXTMIN/EXTMAX from model space and PEXTMIN/PEXTMAX from paper space, outside the undo
// history. An empty space gets the values that mean "no extents": (1e20, 1e20, 1e20) as minimum
// and (-1e20, -1e20, -1e20) as maximum.
VANTREL_DB_EXPORT void updateDrawingExtents(OdDbDatabase& db);

} // namespace vantrel
