// The drawing database: owns its objects, hands out ids and handles, holds the drawing's system
// variables and records every change for undo (marks, blocks of a whole command, transactions).
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <unordered_map>
#include <vector>

#include <vantrel/db/OdDbObject.h>
#include <vantrel/db/OdDbExport.h>

class OdDbDatabase;
using OdDbDatabasePtr = OdSmartPtr<OdDbDatabase>;
class OdDbEntity;

namespace vantrel {
class UndoLog;
class SysVarStore;
class HandleIndex;

// Told about changes so that views can redraw; every call comes after the change.
class VANTREL_DB_EXPORT DatabaseListener {
public:
    virtual ~DatabaseListener() = default;
    virtual void objectAppended(OdDbObjectId) {}
    virtual void objectModified(OdDbObjectId) {}
    virtual void objectErased(OdDbObjectId, bool /*erased*/) {}
    virtual void sysVarChanged(const OdString& /*name*/) {}
};
} // namespace vantrel

class VANTREL_DB_EXPORT OdDbDatabase : public OdRxObject {
    ODRX_DECLARE_MEMBERS(OdDbDatabase)
public:
    OdDbDatabase();
    ~OdDbDatabase() override;
    OdDbDatabase(const OdDbDatabase&) = delete;
    OdDbDatabase& operator=(const OdDbDatabase&) = delete;

    // --- well-known objects (null until the drawing has them) ---
    OdDbObjectId getBlockTableId() const { return m_blockTable; }
    OdDbObjectId getLayerTableId() const { return m_layerTable; }
    OdDbObjectId getLinetypeTableId() const { return m_linetypeTable; }
    OdDbObjectId getTextStyleTableId() const { return m_textStyleTable; }
    OdDbObjectId getRegAppTableId() const { return m_regAppTable; }
    OdDbObjectId getNamedObjectsDictionaryId() const { return m_namedObjects; }
    OdDbObjectId getModelSpaceId() const { return m_modelSpace; }
    // The block of the current sheet, the one named *Paper_Space: it follows a switch of sheets
    // (layouts.h) and its undo.
    OdDbObjectId getPaperSpaceId() const;
    OdDbObjectId getLayerZeroId() const { return m_layerZero; }
    OdDbObjectId getLinetypeByLayerId() const { return m_ltByLayer; }
    OdDbObjectId getLinetypeByBlockId() const { return m_ltByBlock; }
    OdDbObjectId getLinetypeContinuousId() const { return m_ltContinuous; }
    OdDbObjectId getTextStyleStandardId() const { return m_styleStandard; }
    // The group dictionary of the named objects dictionary, created when asked and absent.
    OdDbObjectId getGroupDictionaryId(bool createIfNotFound = true);
    OdDbObjectId getLayoutDictionaryId(bool createIfNotFound = true);
    // Model space when TILEMODE is 1, otherwise the paper space block.
    OdDbObjectId currentSpaceId() const;
    // In paper space, the active viewport entity (number 1 is the paper space view itself);
    // in model space, the active viewport table record. Null when there is none.
    OdDbObjectId activeViewportId() const;
    void setActiveViewportId(OdDbObjectId viewport);

    // Set by the template builder and the DXF reader as they create these objects.
    struct WellKnown {
        OdDbObjectId blockTable, layerTable, linetypeTable, textStyleTable, regAppTable, namedObjects;
        OdDbObjectId modelSpace, paperSpace, layerZero, ltByLayer, ltByBlock, ltContinuous, styleStandard;
    };
    void setWellKnownIds(const WellKnown& ids);

    // Current entity defaults (CLAYER, CECOLOR, CELTYPE, CELWEIGHT, CELTSCALE).
    OdDbObjectId getCLAYER() const;
    void setCLAYER(OdDbObjectId layer);
    OdDbObjectId getCELTYPE() const;
    void setCELTYPE(OdDbObjectId linetype);

    // --- objects and handles ---
    // Adds an object that is in no database, with a new handle (or the given one when it is free),
    // and answers its id. The addition is undoable.
    OdDbObjectId addOdDbObject(OdDbObject* object, OdDbObjectId ownerId = OdDbObjectId::kNull,
                               OdDbHandle handle = OdDbHandle());
    // The id bearing a handle; with createIfNotFound an empty id is reserved for a handle that is
    // referred to before its object is read.
    OdDbObjectId getOdDbObjectId(OdDbHandle handle, bool createIfNotFound = false);
    OdDbHandle handseed() const { return m_handseed; }
    void setHandseed(OdDbHandle next);
    // Calls fn for every id with an object, in handle order (erased ones included).
    void forEachObject(const std::function<void(OdDbObjectId)>& fn) const;
    std::size_t numObjects() const;

    // --- system variables of the drawing ---
    // Raise OdError(eUnknownSysVar) for an unknown name and OdError(eInvalidSysVarValue) for a
    // value of the wrong type or out of range; a valid change is undoable.
    OdResBufPtr getSysVar(const OdString& name) const;
    void setSysVar(const OdString& name, const OdResBuf* value);
    bool hasSysVar(const OdString& name) const;
    std::int32_t sysVarInt(const OdString& name) const;
    double sysVarDouble(const OdString& name) const;
    // The drawing's length unit code (INSUNITS, 0-24).
    std::int16_t getINSUNITS() const { return static_cast<std::int16_t>(sysVarInt(L"INSUNITS")); }
    double getDIMSCALE() const { return sysVarDouble(L"DIMSCALE"); }
    bool getTILEMODE() const { return sysVarInt(L"TILEMODE") != 0; }
    vantrel::SysVarStore& sysVars() { return *m_sysVars; }
    const vantrel::SysVarStore& sysVars() const { return *m_sysVars; }

    // --- undo ---
    // Starts a new undo record: the next change of each object keeps its state again.
    void startUndoRecord();
    // Lays a mark that undoBack rolls back to.
    void setUndoMark();
    // Rolls the drawing back to the most recent mark (and removes that mark).
    void undoBack();
    bool hasUndoMark() const;
    // Groups what follows (until the matching false) into one block that undo() takes back at once.
    // The label of the outermost block (a command's name) is what undo() and redo() report.
    void blockUndoRecording(bool begin, const OdString& label = OdString());
    bool isUndoBlockStarted() const;
    // Takes back the most recent block (or, outside blocks, everything since the last mark); the
    // change can be redone until something new is recorded. False when there is nothing to undo.
    // label, when given, receives the label of the block taken back (empty outside blocks).
    bool undo(OdString* label = nullptr);
    // As undo, but the change cannot be redone: for taking back a command that failed half way.
    bool discardLastBlock();
    // Puts back what the last undo() took back; label as for undo().
    bool redo(OdString* label = nullptr);
    bool hasUndo() const;
    bool hasRedo() const;
    void disableUndoRecording(bool disable);
    bool isUndoRecordingDisabled() const { return m_undoDisabled > 0; }
    // Transactions on the same records: abort rolls back to the matching start.
    void startTransaction();
    void endTransaction();
    void abortTransaction();
    int numActiveTransactions() const { return m_transactions; }
    std::size_t undoLogSize() const;

    // DXF data of the drawing that no class models (header variables, classes, tables and
    // sections), kept by the DXF layer for write-back.
    const std::shared_ptr<const vantrel::DxfExtra>& dxfExtra() const { return m_dxfExtra; }
    void setDxfExtra(std::shared_ptr<const vantrel::DxfExtra> extra) { m_dxfExtra = std::move(extra); }

    void addListener(vantrel::DatabaseListener* listener);
    void removeListener(vantrel::DatabaseListener* listener);

    // Internal: used by OdDbObject and the owners of entity lists.
    void recordModification(OdDbObject* object);
    void recordErase(OdDbStub* stub, bool erasedBefore);
    void recordHandOver(OdDbStub* stub, OdDbObject* before, OdDbObject* after);
    void recordAppendToList(OdDbStub* stub, OdDbObjectId listOwner);
    void recordSysVar(const OdString& name, OdResBufPtr before);
    void notifyModified(OdDbObjectId id);
    void notifyErased(OdDbObjectId id, bool erased);
    void notifySysVarChanged(const OdString& name);

private:
    friend class vantrel::UndoLog;
    OdDbStub* newStub(OdDbHandle handle);

    // Stubs never move (ids point at them): they live in blocks of kStubBlock, allocated as needed.
    static constexpr std::size_t kStubBlock = 1024;
    std::vector<std::unique_ptr<OdDbStub[]>> m_stubBlocks;
    std::size_t m_stubsInLastBlock = kStubBlock;
    std::unique_ptr<vantrel::HandleIndex> m_byHandle;
    OdDbHandle m_handseed{1};

    OdDbObjectId m_blockTable, m_layerTable, m_linetypeTable, m_textStyleTable, m_regAppTable;
    OdDbObjectId m_namedObjects, m_modelSpace, m_layerZero;
    // The block last found named *Paper_Space; looked for again when it no longer is.
    mutable OdDbObjectId m_paperSpace;
    OdDbObjectId m_ltByLayer, m_ltByBlock, m_ltContinuous, m_styleStandard;
    OdDbObjectId m_activeViewport;

    std::unique_ptr<vantrel::SysVarStore> m_sysVars;
    std::unique_ptr<vantrel::UndoLog> m_undo;
    int m_undoDisabled = 0;
    int m_transactions = 0;
    std::vector<vantrel::DatabaseListener*> m_listeners;
    std::shared_ptr<const vantrel::DxfExtra> m_dxfExtra;
};

// Undo recording off for the lifetime of the object, however its scope is left (changes the user
// must not undo on their own: the structure a file lacks, names a save registers).
class VANTREL_DB_EXPORT OdDbUndoPause {
public:
    explicit OdDbUndoPause(OdDbDatabase& db) : m_db(db) { m_db.disableUndoRecording(true); }
    ~OdDbUndoPause() { m_db.disableUndoRecording(false); }
    OdDbUndoPause(const OdDbUndoPause&) = delete;
    OdDbUndoPause& operator=(const OdDbUndoPause&) = delete;

private:
    OdDbDatabase& m_db;
};

// A transaction that is taken back when its scope is left without commit(): by an exception,
// a return or an early continue alike.
class VANTREL_DB_EXPORT OdDbTransactionScope {
public:
    explicit OdDbTransactionScope(OdDbDatabase& db) : m_db(db) { m_db.startTransaction(); }
    // Aborts only a transaction that is still open, so the refusal of an abort without one cannot
    // be met here; what the roll-back itself may raise (no memory) ends the program.
    // NOLINTNEXTLINE(bugprone-exception-escape): the one throw in reach is ruled out by the test.
    ~OdDbTransactionScope()
    {
        if (!m_ended && m_db.numActiveTransactions() > 0)
            m_db.abortTransaction();
    }
    OdDbTransactionScope(const OdDbTransactionScope&) = delete;
    OdDbTransactionScope& operator=(const OdDbTransactionScope&) = delete;

    // Keeps the changes made since the start.
    void commit()
    {
        m_ended = true;
        m_db.endTransaction();
    }
    // Takes them back now.
    void abort()
    {
        m_ended = true;
        m_db.abortTransaction();
    }

private:
    OdDbDatabase& m_db;
    bool m_ended = false;
};
