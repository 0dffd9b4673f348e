// The drawing's layouts as tabs: listed in the order their tabs stand, found by name, and the
// sheet the drawing works on. Of all the sheets' blocks, the current sheet's is the one named
// *Paper_Space (as DXF stores it); the others are *Paper_Space0, *Paper_Space1 and so on.
#pragma once

#include <vector>

#include <vantrel/db/OdDbDatabase.h>
#include <vantrel/db/OdDbExport.h>

namespace vantrel {

// The layouts of the layout dictionary: the model layout first, then the sheets by tab order
// (equal orders as the dictionary holds them).
VANTREL_DB_EXPORT std::vector<OdDbObjectId> layoutsInTabOrder(OdDbDatabase& db);

// The layout of that name, case aside; null when there is none.
VANTREL_DB_EXPORT OdDbObjectId findLayout(OdDbDatabase& db, const OdString& name);

// The sheet whose block is the paper space; null when no layout shows it.
VANTREL_DB_EXPORT OdDbObjectId currentSheet(OdDbDatabase& db);

// Makes a sheet the current one: its block takes the name *Paper_Space and becomes the paper
// space, the block that had it takes the sheet's former block name. Undoable as the renaming of
// two blocks. Raises OdError(eInvalidInput) for the model layout or a layout without a block.
VANTREL_DB_EXPORT void makeSheetCurrent(OdDbDatabase& db, OdDbObjectId layout);

} // namespace vantrel
