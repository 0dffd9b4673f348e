// Identity, open modes, erasing, hand-over, cloning and extended data of database objects.
#include <vantrel/db/OdDbDatabase.h>
#include <vantrel/db/OdDbDictionary.h>
#include <vantrel/db/OdDbObject.h>

#include <algorithm>
#include <cassert>

#include "UndoLog.h"

ODRX_DEFINE_ABSTRACT_MEMBERS(OdDbObject, OdRxObject)

OdDbObject::~OdDbObject() = default;

OdDbObject::OdDbObject(const OdDbObject& other)
    : OdRxObject(other), m_ownerId(other.m_ownerId), m_xdata(other.m_xdata), m_extDict(other.m_extDict),
      m_dxfExtra(other.m_dxfExtra)
{
}

OdDbObject& OdDbObject::operator=(const OdDbObject& other)
{
    if (&other == this)
        return *this;
    m_ownerId = other.m_ownerId;
    m_xdata = other.m_xdata;
    m_extDict = other.m_extDict;
    m_dxfExtra = other.m_dxfExtra;
    return *this;
}

void OdDbObject::release()
{
    assert(m_refs > 0);
    if (--m_refs == 0) {
        delete this;
        return;
    }
    if (m_refs == m_internalRefs && m_stub)
        m_openMode = OdDb::kNotOpen;
}

void OdDbObject::setOwnerId(OdDbObjectId owner)
{
    assertWriteEnabled();
    m_ownerId = owner;
}

OdDbDatabase* OdDbObject::database() const { return m_stub ? m_stub->database : m_defaultDb; }

OdDbHandle OdDbObject::getDbHandle() const { return m_stub ? m_stub->handle : OdDbHandle(); }

void OdDbObject::assertReadEnabled() const
{
    // Every pointer to an object comes from opening it, so reading is always allowed; the check
    // exists for symmetry with assertWriteEnabled and for objects closed behind a raw pointer.
}

void OdDbObject::assertWriteEnabled(bool autoUndo, bool recordModified)
{
    if (!isWriteEnabled())
        throw OdError(eNotOpenForWrite,
                      "object " + getDbHandle().ascii() + " (" + isA()->name() + ") is not open for write");
    if (!m_stub)
        return;
    OdDbDatabase* db = m_stub->database;
    if (autoUndo)
        db->recordModification(this);
    if (recordModified)
        db->notifyModified(objectId());
}

void OdDbObject::upgradeOpen()
{
    if (m_stub)
        m_openMode = OdDb::kForWrite;
}

void OdDbObject::downgradeOpen()
{
    if (m_stub)
        m_openMode = OdDb::kForRead;
}

OdResult OdDbObject::erase(bool erasing)
{
    if (!m_stub)
        return eNotInDatabase;
    assertWriteEnabled(false, false);
    if (m_stub->erased == erasing)
        return eOk;
    OdDbDatabase* db = m_stub->database;
    db->recordErase(m_stub, m_stub->erased);
    m_stub->erased = erasing;
    db->notifyErased(objectId(), erasing);
    return eOk;
}

void OdDbObject::handOverTo(OdDbObject* newObject, bool keepXData, bool keepExtDict)
{
    if (!m_stub)
        throw OdError(eNotInDatabase, "hand-over from an object that is not in a database");
    if (!newObject)
        throw OdError(eNullObjectPointer);
    if (newObject->m_stub)
        throw OdError(eAlreadyInDatabase, "hand-over to an object that is already in a database");
    assertWriteEnabled(false, false);
    OdDbStub* stub = m_stub;
    OdDbDatabase* db = stub->database;
    newObject->m_ownerId = m_ownerId;
    if (keepXData)
        newObject->m_xdata = m_xdata;
    if (keepExtDict)
        newObject->m_extDict = m_extDict;
    OdDbObjectPtr keepAlive(this);
    subHandOverTo(newObject);
    db->recordHandOver(stub, this, newObject);
    m_openMode = OdDb::kForWrite; // the new object is open for write, as this one was
    vantrel::UndoLog::moveIdentity(stub, this, newObject);
    newObject->m_defaultDb = nullptr;
    newObject->subAddedToDatabase(db);
    db->notifyModified(OdDbObjectId(stub));
}

OdDbObjectPtr OdDbObject::clone() const
{
    OdDbObjectPtr copy = shallowCopy();
    copy->m_ownerId = OdDbObjectId();
    copy->m_extDict = OdDbObjectId();
    copy->m_defaultDb = database();
    copy->subDeepenClone();
    return copy;
}

OdDbObjectPtr OdDbObject::shallowCopy() const
{
    throw OdError(eNotImplementedYet, isA()->name() + " cannot be copied");
}

void OdDbObject::copyStateFrom(const OdDbObject& other) { *this = other; }

void OdDbObject::subAddedToDatabase(OdDbDatabase*) {}

void OdDbObject::subDeepenClone() {}

void OdDbObject::subHandOverTo(OdDbObject*) {}

namespace {
// The application name of an extended-data section (its 1001 node).
bool isAppStart(const OdResBuf* rb) { return rb && rb->restype() == 1001; }
} // namespace

OdResBufPtr OdDbObject::xData(const OdString& regAppName) const
{
    assertReadEnabled();
    if (!m_xdata)
        return OdResBufPtr();
    if (regAppName.isEmpty())
        return m_xdata->copyChain();
    for (const OdResBuf* p = m_xdata.get(); p; p = p->next().get()) {
        if (isAppStart(p) && p->getString().iCompare(regAppName) == 0) {
            OdResBufPtr head = OdResBuf::newRb(1001, p->getString());
            OdResBuf* tail = head.get();
            for (const OdResBuf* q = p->next().get(); q && !isAppStart(q); q = q->next().get()) {
                OdResBufPtr node = OdResBuf::newRb(q->restype());
                *node = *q;
                node->setNext(OdResBufPtr());
                tail->setNext(node);
                tail = node.get();
            }
            return head;
        }
    }
    return OdResBufPtr();
}

void OdDbObject::setXData(const OdResBuf* xdata)
{
    assertWriteEnabled();
    // Split the current data and the new data into sections per application, then replace.
    struct Section {
        OdString app;
        OdResBufPtr head;
    };
    auto split = [](const OdResBuf* chain) {
        std::vector<Section> out;
        for (const OdResBuf* p = chain; p; p = p->next().get()) {
            if (isAppStart(p)) {
                out.push_back({p->getString(), OdResBufPtr()});
            } else if (out.empty()) {
                throw OdError(eInvalidInput, "extended data must start with an application name (1001)");
            }
            OdResBufPtr node = OdResBuf::newRb(p->restype());
            *node = *p;
            node->setNext(OdResBufPtr());
            if (!out.back().head)
                out.back().head = node;
            else
                out.back().head->last()->setNext(node);
        }
        return out;
    };
    auto current = split(m_xdata.get());
    for (auto& s : split(xdata)) {
        bool onlyName = !s.head->next();
        auto it = std::find_if(current.begin(), current.end(),
                               [&](const Section& c) { return c.app.iCompare(s.app) == 0; });
        if (it != current.end()) {
            if (onlyName)
                current.erase(it);
            else
                it->head = s.head;
        } else if (!onlyName) {
            current.push_back(s);
        }
    }
    OdResBufPtr head;
    for (auto& s : current) {
        if (!head)
            head = s.head;
        else
            head->last()->setNext(s.head);
    }
    m_xdata = head;
}

OdDbObjectId OdDbObject::createExtensionDictionary()
{
    if (!m_extDict.isNull() && !m_extDict.isErased())
        return m_extDict;
    if (!m_stub)
        throw OdError(eNotInDatabase, "an extension dictionary needs an object in a database");
    assertWriteEnabled();
    OdDbDictionaryPtr dict = OdDbDictionary::createObject();
    dict->setHardOwner(true);
    m_extDict = m_stub->database->addOdDbObject(dict.get(), objectId());
    return m_extDict;
}

void OdDbObject::setExtensionDictionary(OdDbObjectId dict)
{
    assertWriteEnabled();
    m_extDict = dict;
}
