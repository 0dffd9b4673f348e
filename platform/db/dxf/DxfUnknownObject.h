// Objects and entities of a class this system does not model, read from a DXF file: they keep
// their handle, owner, extended data and all their tags (DxfExtra) and are written back as read.
#pragma once

#include <vantrel/db/OdDbEntity.h>
#include <vantrel/db/OdDbObject.h>

namespace vantrel {

class DxfUnknownObject : public OdDbObject {
    ODDB_DECLARE_MEMBERS(DxfUnknownObject)
public:
    DxfUnknownObject() = default;
};
using DxfUnknownObjectPtr = OdSmartPtr<DxfUnknownObject>;

// The AcDbEntity part (layer, colour, ...) is modelled so that layer rules and display apply.
class DxfUnknownEntity : public OdDbEntity {
    ODDB_DECLARE_MEMBERS(DxfUnknownEntity)
public:
    DxfUnknownEntity() = default;
};
using DxfUnknownEntityPtr = OdSmartPtr<DxfUnknownEntity>;

} // namespace vantrel
