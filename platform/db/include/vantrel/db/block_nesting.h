// How blocks insert one another: the blocks that insert themselves, directly or through others,
// which a drawing shows once instead of without end.
#pragma once

#include <vector>

#include <vantrel/db/OdDbDatabase.h>
#include <vantrel/db/OdDbExport.h>

namespace vantrel {

// The block record of a name in the drawing's block table; null without a drawing or such a block.
VANTREL_DB_EXPORT OdDbObjectId blockNamed(const OdDbDatabase* db, const OdString& name);

// The blocks that lie on a cycle of inserts (each once, in block table order).
VANTREL_DB_EXPORT std::vector<OdDbObjectId> blocksInsertingThemselves(const OdDbDatabase& db);

} // namespace vantrel
