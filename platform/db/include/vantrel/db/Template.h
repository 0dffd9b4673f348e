// The built-in template: a complete empty drawing (tables, standard records, model and paper
// space with their layouts and viewports) from which every new drawing starts.
#pragma once

#include <vantrel/db/OdDbDatabase.h>
#include <vantrel/db/OdDbExport.h>

namespace vantrel {

// Builds a new empty drawing in model space (TILEMODE 1); its undo history is empty.
VANTREL_DB_EXPORT OdDbDatabasePtr newDrawing();

} // namespace vantrel
