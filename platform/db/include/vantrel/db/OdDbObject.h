// Base of every object of the drawing database: identity (id, owner, database), open modes,
// erasing, hand-over of identity, cloning, extended data and the extension dictionary.
#pragma once

#include <cstdint>
#include <memory>

#include <vantrel/db/DbKey.h>
#include <vantrel/db/OdDbObjectId.h>
#include <vantrel/db/OdDbStub.h>
#include <vantrel/db/OdError.h>
#include <vantrel/db/OdResBuf.h>
#include <vantrel/db/OdRxObject.h>
#include <vantrel/db/OdDbExport.h>

namespace vantrel {
class UndoLog;
// DXF data of an object that no class models, kept by the DXF layer for write-back.
struct DxfExtra;
} // namespace vantrel

class OdDbObject;
using OdDbObjectPtr = OdSmartPtr<OdDbObject>;

// Declares the class description and the state-copy members of a database class.
#define ODDB_DECLARE_MEMBERS(ClassName)                                                                                \
    ODRX_DECLARE_MEMBERS(ClassName)                                                                                    \
public:                                                                                                                \
    OdDbObjectPtr shallowCopy() const override { return OdDbObjectPtr(new ClassName(*this)); }                         \
    void copyStateFrom(const OdDbObject& other) override                                                               \
    {                                                                                                                  \
        ClassName::operator=(static_cast<const ClassName&>(other));                                                    \
    }                                                                                                                  \
                                                                                                                       \
private:

class VANTREL_DB_EXPORT OdDbObject : public OdRxObject {
    ODRX_DECLARE_MEMBERS(OdDbObject)
public:
    ~OdDbObject() override;
    // Closes the object when the last pointer outside the database goes away.
    void release() override;

    OdDbObjectId objectId() const { return OdDbObjectId(m_stub); }
    OdDbObjectId ownerId() const { return m_ownerId; }
    void setOwnerId(OdDbObjectId owner);
    // The database the object lives in; for an object not yet added, the one whose defaults it took.
    OdDbDatabase* database() const;
    OdDbHandle getDbHandle() const;
    bool isDBRO() const { return m_stub != nullptr; }
    bool isErased() const { return m_stub && m_stub->erased; }

    OdDb::OpenMode openMode() const { return m_openMode; }
    bool isReadEnabled() const { return !isDBRO() || m_openMode != OdDb::kNotOpen; }
    // Objects outside the database are always writable.
    bool isWriteEnabled() const { return !isDBRO() || m_openMode == OdDb::kForWrite; }
    void assertReadEnabled() const;
    // Raises OdError(eNotOpenForWrite) unless writable; keeps the state for undo before the first
    // change of the current undo record.
    void assertWriteEnabled(bool autoUndo = true, bool recordModified = true);
    void upgradeOpen();
    void downgradeOpen();

    // Erases (or with false unerases) a database-resident object; the change is undoable.
    OdResult erase(bool erasing = true);
    // Gives this object's identity (id, handle, owner; extended data and extension dictionary on
    // request) to newObject, which must not be in a database; this object leaves the database.
    void handOverTo(OdDbObject* newObject, bool keepXData = true, bool keepExtDict = true);
    // A deep copy outside any database (sub-objects such as vertices are copied too).
    OdDbObjectPtr clone() const;

    // Extended data: with an application name, that application's chain (first node 1001);
    // without one, every chain. setXData replaces the chains of the applications it names.
    OdResBufPtr xData(const OdString& regAppName = OdString()) const;
    void setXData(const OdResBuf* xdata);

    OdDbObjectId extensionDictionary() const { return m_extDict; }
    // Creates the extension dictionary when there is none; answers its id.
    OdDbObjectId createExtensionDictionary();
    void setExtensionDictionary(OdDbObjectId dict);

    // Undo and hand-over support: a copy of the state (sub-objects shared), and taking a state back.
    virtual OdDbObjectPtr shallowCopy() const;
    virtual void copyStateFrom(const OdDbObject& other);

    // DXF data kept for write-back; owned by the DXF layer.
    const std::shared_ptr<const vantrel::DxfExtra>& dxfExtra() const { return m_dxfExtra; }
    void setDxfExtra(std::shared_ptr<const vantrel::DxfExtra> extra) { m_dxfExtra = std::move(extra); }

    // Called when the object has been added to a database (directly or by hand-over): classes
    // that own sub-objects add those too.
    virtual void subAddedToDatabase(OdDbDatabase* db);
    // Called on a fresh shallow copy made by clone(): classes that own sub-objects copy them.
    virtual void subDeepenClone();
    // Called on an object about to give its identity away by handOverTo: classes that own
    // database-resident sub-objects erase them (undoably), since they leave with their owner.
    virtual void subHandOverTo(OdDbObject* newObject);

protected:
    OdDbObject() = default;
    OdDbObject(const OdDbObject& other);
    OdDbObject& operator=(const OdDbObject& other);

    // For objects outside the database: the database whose defaults they took.
    void setDefaultDatabase(OdDbDatabase* db) { m_defaultDb = db; }

private:
    friend class OdDbDatabase;
    friend class vantrel::UndoLog;
    template <class T>
    friend class OdDbSubObjectPtr;

    // Identity, never copied.
    OdDbStub* m_stub = nullptr;
    OdDb::OpenMode m_openMode = OdDb::kNotOpen;
    std::uint32_t m_internalRefs = 0; // references held by the database and owning objects
    OdDbDatabase* m_defaultDb = nullptr;

    // State, copied by the copy operations.
    OdDbObjectId m_ownerId;
    OdResBufPtr m_xdata;
    OdDbObjectId m_extDict;
    std::shared_ptr<const vantrel::DxfExtra> m_dxfExtra;
};

// A reference held by an owning object (a polyline holding its vertices): it does not keep the
// owned object open, so the owned object closes when the last outside pointer is released.
template <class T>
class OdDbSubObjectPtr {
public:
    OdDbSubObjectPtr() = default;
    explicit OdDbSubObjectPtr(T* p) : m_p(p) { grab(); }
    OdDbSubObjectPtr(const OdSmartPtr<T>& p) : m_p(p.get()) { grab(); }
    OdDbSubObjectPtr(const OdDbSubObjectPtr& o) : m_p(o.m_p) { grab(); }
    OdDbSubObjectPtr& operator=(OdDbSubObjectPtr o) noexcept
    {
        std::swap(m_p, o.m_p);
        return *this;
    }
    ~OdDbSubObjectPtr()
    {
        if (m_p) {
            --static_cast<OdDbObject*>(m_p)->m_internalRefs;
            m_p->release();
        }
    }
    T* get() const { return m_p; }
    T* operator->() const { return m_p; }
    explicit operator bool() const { return m_p != nullptr; }

    // Whether an owner holds the object: a list of sub-objects (or a kept state of one), beyond
    // the database's own reference to a resident object.
    static bool isHeld(const T* object)
    {
        const OdDbObject* o = object;
        return o->m_internalRefs > (o->m_stub ? 1u : 0u);
    }

private:
    void grab()
    {
        if (m_p) {
            m_p->addRef();
            ++static_cast<OdDbObject*>(m_p)->m_internalRefs;
        }
    }
    T* m_p = nullptr;
};
