// The database's record for one object id: the object currently bearing the id, its handle and
// state flags. Ids point at stubs, so an id survives hand-over of its object to another object.
#pragma once

#include <cstdint>

#include <vantrel/db/OdDbHandle.h>
#include <vantrel/db/OdDbObjectId.h>
#include <vantrel/db/OdDbExport.h>

class VANTREL_DB_EXPORT OdDbStub {
public:
    OdDbObject* object = nullptr; // holds one reference while set
    OdDbDatabase* database = nullptr;
    OdDbHandle handle;
    bool erased = false;
    // Last undo record in which the object's state was kept; see OdDbDatabase undo.
    std::uint64_t keptInRecord = 0;
};
