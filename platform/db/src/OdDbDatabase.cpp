// The drawing database: objects and handles, well-known ids, system variables and undo.
#include <vantrel/db/OdDbBlockTableRecord.h>
#include <vantrel/db/OdDbDatabase.h>
#include <vantrel/db/OdDbDictionary.h>
#include <vantrel/db/OdDbTables.h>
#include <vantrel/db/SysVarStore.h>

#include <algorithm>

#include "HandleIndex.h"
#include "UndoLog.h"
#include "space_names.h"

ODRX_DEFINE_MEMBERS(OdDbDatabase, OdRxObject, "")

using vantrel::UndoEntry;

OdDbDatabase::OdDbDatabase()
    : m_byHandle(std::make_unique<vantrel::HandleIndex>()), m_sysVars(std::make_unique<vantrel::SysVarStore>()),
      m_undo(std::make_unique<vantrel::UndoLog>(*this))
{
}

OdDbDatabase::~OdDbDatabase()
{
    m_undo->clear();
    for (std::size_t b = 0; b < m_stubBlocks.size(); ++b) {
        const std::size_t used = b + 1 == m_stubBlocks.size() ? m_stubsInLastBlock : kStubBlock;
        for (std::size_t i = 0; i < used; ++i) {
            OdDbStub& stub = m_stubBlocks[b][i];
            if (OdDbObject* obj = stub.object) {
                stub.object = nullptr;
                obj->m_stub = nullptr;
                obj->m_openMode = OdDb::kNotOpen;
                --obj->m_internalRefs;
                obj->release();
            }
        }
    }
}

void OdDbDatabase::setWellKnownIds(const WellKnown& w)
{
    m_blockTable = w.blockTable;
    m_layerTable = w.layerTable;
    m_linetypeTable = w.linetypeTable;
    m_textStyleTable = w.textStyleTable;
    m_regAppTable = w.regAppTable;
    m_namedObjects = w.namedObjects;
    m_modelSpace = w.modelSpace;
    m_paperSpace = w.paperSpace;
    m_layerZero = w.layerZero;
    m_ltByLayer = w.ltByLayer;
    m_ltByBlock = w.ltByBlock;
    m_ltContinuous = w.ltContinuous;
    m_styleStandard = w.styleStandard;
}

namespace {
OdDbObjectId dictionaryEntry(OdDbObjectId dictId, const OdString& name, bool create)
{
    OdDbDictionaryPtr nod = OdDbDictionary::cast(dictId.openObject().get());
    if (!nod)
        return OdDbObjectId();
    OdDbObjectId id = nod->getAt(name);
    if (id.isNull() && create) {
        nod->upgradeOpen();
        OdDbDictionaryPtr dict = OdDbDictionary::createObject();
        id = nod->setAt(name, dict.get());
    }
    return id;
}

OdDbObjectId recordByName(OdDbObjectId tableId, const OdString& name)
{
    OdDbSymbolTablePtr table = OdDbSymbolTable::cast(tableId.openObject().get());
    return table ? table->getAt(name) : OdDbObjectId();
}

OdString recordName(OdDbObjectId id)
{
    OdDbSymbolTableRecordPtr rec = OdDbSymbolTableRecord::cast(id.openObject().get());
    return rec ? rec->getName() : OdString();
}
} // namespace

OdDbObjectId OdDbDatabase::getGroupDictionaryId(bool createIfNotFound)
{
    return dictionaryEntry(m_namedObjects, L"ACAD_GROUP", createIfNotFound);
}

OdDbObjectId OdDbDatabase::getLayoutDictionaryId(bool createIfNotFound)
{
    return dictionaryEntry(m_namedObjects, L"ACAD_LAYOUT", createIfNotFound);
}

OdDbObjectId OdDbDatabase::getPaperSpaceId() const
{
    if (!m_paperSpace.isNull() && recordName(m_paperSpace).iCompare(vantrel::kPaperSpaceBlock) != 0) {
        // Sheets were switched (or the switch undone) by renaming their blocks.
        const OdDbObjectId renamed = recordByName(m_blockTable, vantrel::kPaperSpaceBlock);
        if (!renamed.isNull())
            m_paperSpace = renamed;
    }
    return m_paperSpace;
}

OdDbObjectId OdDbDatabase::currentSpaceId() const
{
    const OdDbObjectId paper = getPaperSpaceId();
    return getTILEMODE() || paper.isNull() ? m_modelSpace : paper;
}

OdDbObjectId OdDbDatabase::activeViewportId() const { return m_activeViewport; }

void OdDbDatabase::setActiveViewportId(OdDbObjectId viewport) { m_activeViewport = viewport; }

OdDbObjectId OdDbDatabase::getCLAYER() const
{
    OdDbObjectId id = recordByName(m_layerTable, m_sysVars->get(L"CLAYER")->getString());
    return id.isNull() ? m_layerZero : id;
}

void OdDbDatabase::setCLAYER(OdDbObjectId layer)
{
    OdString name = recordName(layer);
    if (name.isEmpty())
        throw OdError(eInvalidInput, "CLAYER must name a layer");
    setSysVar(L"CLAYER", OdResBuf::newRb(8, name).get());
}

OdDbObjectId OdDbDatabase::getCELTYPE() const
{
    OdDbObjectId id = recordByName(m_linetypeTable, m_sysVars->get(L"CELTYPE")->getString());
    return id.isNull() ? m_ltByLayer : id;
}

void OdDbDatabase::setCELTYPE(OdDbObjectId linetype)
{
    OdString name = recordName(linetype);
    if (name.isEmpty())
        throw OdError(eInvalidInput, "CELTYPE must name a linetype");
    setSysVar(L"CELTYPE", OdResBuf::newRb(6, name).get());
}

OdDbStub* OdDbDatabase::newStub(OdDbHandle handle)
{
    if (m_stubsInLastBlock == kStubBlock) {
        m_stubBlocks.push_back(std::make_unique<OdDbStub[]>(kStubBlock));
        m_stubsInLastBlock = 0;
    }
    OdDbStub& stub = m_stubBlocks.back()[m_stubsInLastBlock++];
    stub.database = this;
    stub.handle = handle;
    m_byHandle->insert(handle, &stub);
    if (handle >= m_handseed)
        m_handseed = OdDbHandle(handle.value() + 1);
    return &stub;
}

OdDbObjectId OdDbDatabase::addOdDbObject(OdDbObject* object, OdDbObjectId ownerId, OdDbHandle handle)
{
    if (!object)
        throw OdError(eNullObjectPointer);
    if (object->m_stub)
        throw OdError(eAlreadyInDatabase, "object " + object->getDbHandle().ascii() + " is already in a database");
    OdDbStub* stub = nullptr;
    if (!handle.isNull()) {
        stub = m_byHandle->find(handle);
        if (stub && stub->object)
            throw OdError(eDuplicateKey, "handle " + handle.ascii() + " is already in use");
        if (!stub) {
            stub = newStub(handle);
        }
    } else {
        while (m_byHandle->find(m_handseed))
            ++m_handseed;
        stub = newStub(m_handseed);
    }
    object->addRef();
    ++object->m_internalRefs;
    stub->object = object;
    object->m_stub = stub;
    object->m_openMode = OdDb::kForWrite;
    object->m_defaultDb = nullptr;
    if (!ownerId.isNull())
        object->m_ownerId = ownerId;
    recordAppendToList(stub, OdDbObjectId());
    object->subAddedToDatabase(this);
    for (auto* l : m_listeners)
        l->objectAppended(OdDbObjectId(stub));
    return OdDbObjectId(stub);
}

std::size_t OdDbDatabase::numObjects() const { return m_byHandle->size(); }

OdDbObjectId OdDbDatabase::getOdDbObjectId(OdDbHandle handle, bool createIfNotFound)
{
    if (handle.isNull())
        return OdDbObjectId();
    if (OdDbStub* stub = m_byHandle->find(handle))
        return OdDbObjectId(stub);
    return createIfNotFound ? OdDbObjectId(newStub(handle)) : OdDbObjectId();
}

void OdDbDatabase::setHandseed(OdDbHandle next)
{
    bool inUse = false;
    m_byHandle->forEachInOrder([&](const OdDbStub* stub) { inUse = inUse || (stub->object && stub->handle >= next); });
    if (inUse)
        throw OdError(eInvalidSysVarValue, "HANDSEED must exceed every handle in use");
    m_handseed = next;
}

void OdDbDatabase::forEachObject(const std::function<void(OdDbObjectId)>& fn) const
{
    m_byHandle->forEachInOrder([&](OdDbStub* stub) {
        if (stub->object)
            fn(OdDbObjectId(stub));
    });
}

// --- system variables ---

bool OdDbDatabase::hasSysVar(const OdString& name) const
{
    return vantrel::SysVarStore::find(name) != nullptr || OdString(name).makeUpper() == L"HANDSEED";
}

OdResBufPtr OdDbDatabase::getSysVar(const OdString& name) const
{
    static const OdString kHandseed(L"HANDSEED");
    if (name.iCompare(kHandseed) == 0) {
        OdResBufPtr rb = OdResBuf::newRb(5);
        rb->setHandle(m_handseed);
        return rb;
    }
    return m_sysVars->get(name);
}

void OdDbDatabase::setSysVar(const OdString& name, const OdResBuf* value)
{
    if (!value)
        throw OdError(eNullObjectPointer);
    static const OdString kHandseed(L"HANDSEED");
    if (name.iCompare(kHandseed) == 0) {
        setHandseed(value->getHandle());
        return;
    }
    OdResBufPtr before = m_sysVars->set(name, *value);
    recordSysVar(name, before);
    notifySysVarChanged(name);
}

std::int32_t OdDbDatabase::sysVarInt(const OdString& name) const { return getSysVar(name)->getInt32(); }

double OdDbDatabase::sysVarDouble(const OdString& name) const { return getSysVar(name)->getDouble(); }

// --- undo ---

void OdDbDatabase::startUndoRecord() { m_undo->newRecord(); }
void OdDbDatabase::setUndoMark() { m_undo->setMark(); }
void OdDbDatabase::undoBack() { m_undo->undoBack(); }
bool OdDbDatabase::hasUndoMark() const { return m_undo->hasMark(); }

void OdDbDatabase::blockUndoRecording(bool begin, const OdString& label)
{
    if (begin)
        m_undo->beginBlock(label);
    else
        m_undo->endBlock();
}

bool OdDbDatabase::isUndoBlockStarted() const { return m_undo->blockDepth() > 0; }
bool OdDbDatabase::undo(OdString* label) { return m_undo->undo(true, label); }
bool OdDbDatabase::discardLastBlock() { return m_undo->undo(false, nullptr); }
bool OdDbDatabase::redo(OdString* label) { return m_undo->redo(label); }
bool OdDbDatabase::hasUndo() const { return m_undo->hasUndo(); }
bool OdDbDatabase::hasRedo() const { return m_undo->hasRedo(); }
std::size_t OdDbDatabase::undoLogSize() const { return m_undo->size(); }

void OdDbDatabase::disableUndoRecording(bool disable)
{
    m_undoDisabled += disable ? 1 : -1;
    if (m_undoDisabled < 0)
        m_undoDisabled = 0;
    m_undo->newRecord();
}

void OdDbDatabase::startTransaction()
{
    ++m_transactions;
    m_undo->startTransaction();
}

void OdDbDatabase::endTransaction()
{
    if (m_transactions == 0)
        throw OdError(eInvalidInput, "no transaction is active");
    --m_transactions;
    m_undo->endTransaction();
}

void OdDbDatabase::abortTransaction()
{
    if (m_transactions == 0)
        throw OdError(eInvalidInput, "no transaction is active");
    --m_transactions;
    m_undo->abortTransaction();
}

namespace {
bool recording(const OdDbDatabase& db) { return !db.isUndoRecordingDisabled() || db.numActiveTransactions() > 0; }
} // namespace

void OdDbDatabase::recordModification(OdDbObject* object)
{
    OdDbStub* stub = object->m_stub;
    if (!recording(*this) || stub->keptInRecord == m_undo->currentRecord())
        return;
    stub->keptInRecord = m_undo->currentRecord();
    UndoEntry e;
    e.kind = UndoEntry::Kind::Modify;
    e.stub = stub;
    e.first = object->shallowCopy();
    m_undo->record(std::move(e));
}

void OdDbDatabase::recordErase(OdDbStub* stub, bool erasedBefore)
{
    if (!recording(*this))
        return;
    UndoEntry e;
    e.kind = UndoEntry::Kind::Erase;
    e.stub = stub;
    e.flag = erasedBefore;
    m_undo->record(std::move(e));
}

void OdDbDatabase::recordHandOver(OdDbStub* stub, OdDbObject* before, OdDbObject* after)
{
    if (!recording(*this))
        return;
    UndoEntry e;
    e.kind = UndoEntry::Kind::HandOver;
    e.stub = stub;
    e.first = OdDbObjectPtr(before);
    e.second = OdDbObjectPtr(after);
    m_undo->record(std::move(e));
    // Later changes to the new object must keep its state again.
    m_undo->newRecord();
}

void OdDbDatabase::recordAppendToList(OdDbStub* stub, OdDbObjectId listOwner)
{
    if (!recording(*this))
        return;
    UndoEntry e;
    e.kind = UndoEntry::Kind::Append;
    e.stub = stub;
    e.listOwner = listOwner;
    e.flag = true;
    m_undo->record(std::move(e));
}

void OdDbDatabase::recordSysVar(const OdString& name, OdResBufPtr before)
{
    if (!recording(*this))
        return;
    UndoEntry e;
    e.kind = UndoEntry::Kind::SysVar;
    e.name = name;
    e.value = std::move(before);
    m_undo->record(std::move(e));
}

void OdDbDatabase::notifyModified(OdDbObjectId id)
{
    for (auto* l : m_listeners)
        l->objectModified(id);
}

void OdDbDatabase::notifyErased(OdDbObjectId id, bool erased)
{
    for (auto* l : m_listeners)
        l->objectErased(id, erased);
}

void OdDbDatabase::notifySysVarChanged(const OdString& name)
{
    for (auto* l : m_listeners)
        l->sysVarChanged(name);
}

void OdDbDatabase::addListener(vantrel::DatabaseListener* listener) { m_listeners.push_back(listener); }

void OdDbDatabase::removeListener(vantrel::DatabaseListener* listener) { std::erase(m_listeners, listener); }
