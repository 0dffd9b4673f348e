// Opening objects by id.
#include <vantrel/db/OdDbDatabase.h>
#include <vantrel/db/OdDbObject.h>

const OdDbObjectId OdDbObjectId::kNull;

bool OdDbObjectId::isValid() const { return m_stub && m_stub->object; }
bool OdDbObjectId::isErased() const { return m_stub && m_stub->erased; }
OdDbHandle OdDbObjectId::getHandle() const { return m_stub ? m_stub->handle : OdDbHandle(); }
OdDbDatabase* OdDbObjectId::database() const { return m_stub ? m_stub->database : nullptr; }

bool operator<(OdDbObjectId a, OdDbObjectId b) { return a.getHandle() < b.getHandle(); }

OdDbObjectPtr OdDbObjectId::openObject(OdDb::OpenMode mode, bool openErased) const
{
    if (!m_stub || !m_stub->object || (m_stub->erased && !openErased))
        return OdDbObjectPtr();
    OdDbObjectPtr obj(m_stub->object);
    if (mode == OdDb::kForWrite)
        obj->upgradeOpen();
    else if (obj->openMode() == OdDb::kNotOpen)
        obj->downgradeOpen();
    return obj;
}

OdDbObjectPtr OdDbObjectId::safeOpenObject(OdDb::OpenMode mode, bool openErased) const
{
    if (!m_stub)
        throw OdError(eNullObjectId);
    if (!m_stub->object)
        throw OdError(eKeyNotFound, "no object has handle " + m_stub->handle.ascii());
    if (m_stub->erased && !openErased)
        throw OdError(eWasErased, "object " + m_stub->handle.ascii() + " was erased");
    return openObject(mode, openErased);
}
