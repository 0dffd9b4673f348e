// Stable identity of a database object: a pointer to the database's record for it, valid for
// the lifetime of the database. Opening an id gives a smart pointer in read or write mode.
#pragma once

#include <cstddef>
#include <functional>

#include <vantrel/db/OdDbHandle.h>
#include <vantrel/db/OdSmartPtr.h>
#include <vantrel/db/OdDbExport.h>

class OdDbDatabase;
class OdDbObject;
class OdDbStub;
using OdDbObjectPtr = OdSmartPtr<OdDbObject>;

namespace OdDb {
enum OpenMode { kNotOpen = -1, kForRead = 0, kForWrite = 1, kForNotify = 2 };
enum Visibility { kVisible = 0, kInvisible = 1 };
} // namespace OdDb

class VANTREL_DB_EXPORT OdDbObjectId {
public:
    OdDbObjectId() = default;
    explicit OdDbObjectId(OdDbStub* stub) : m_stub(stub) {}

    static const OdDbObjectId kNull;

    bool isNull() const { return m_stub == nullptr; }
    // Not null and naming an object that exists (erased objects included).
    bool isValid() const;
    bool isErased() const;
    OdDbHandle getHandle() const;
    OdDbDatabase* database() const;

    // Null when the id is null, names no object, or the object is erased (unless openErased).
    OdDbObjectPtr openObject(OdDb::OpenMode mode = OdDb::kForRead, bool openErased = false) const;
    // As openObject, but raises OdError naming the reason instead of answering null.
    OdDbObjectPtr safeOpenObject(OdDb::OpenMode mode = OdDb::kForRead, bool openErased = false) const;

    OdDbStub* stub() const { return m_stub; }
    void setNull() { m_stub = nullptr; }

    friend bool operator==(OdDbObjectId a, OdDbObjectId b) { return a.m_stub == b.m_stub; }
    friend VANTREL_DB_EXPORT bool operator<(OdDbObjectId a, OdDbObjectId b);

private:
    OdDbStub* m_stub = nullptr;
};

template <>
struct std::hash<OdDbObjectId> {
    std::size_t operator()(OdDbObjectId id) const noexcept { return std::hash<const void*>()(id.stub()); }
};
