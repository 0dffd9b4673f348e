// Whether what lies on a layer is drawn and picked: the SVG, the window, selection and inserts
// drawing their blocks all ask here.
#pragma once

#include <vantrel/db/OdDbObjectId.h>
#include <vantrel/db/OdDbExport.h>

namespace vantrel {

// Not switched off and not frozen (a null or unknown layer counts as shown).
VANTREL_DB_EXPORT bool layerShown(OdDbObjectId layer);

} // namespace vantrel
