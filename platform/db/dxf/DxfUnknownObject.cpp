// Class descriptions of the kept unknown objects and entities.
#include "DxfUnknownObject.h"

namespace vantrel {

ODRX_DEFINE_MEMBERS(DxfUnknownObject, OdDbObject, "")
ODRX_DEFINE_MEMBERS(DxfUnknownEntity, OdDbEntity, "")

} // namespace vantrel
