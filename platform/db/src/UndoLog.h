// The database's undo log: entries recorded as the drawing changes, rolled back to marks, by
// whole blocks (one command) or to a transaction start. Applying an entry answers its inverse,
// which is what redo replays.
#pragma once

#include <cstdint>
#include <vector>

#include <vantrel/db/OdDbDatabase.h>

namespace vantrel {

struct UndoEntry {
    enum class Kind { None, Mark, BlockBegin, BlockEnd, TxStart, Modify, Erase, HandOver, Append, SysVar };
    UndoEntry() = default;
    explicit UndoEntry(Kind k) : kind(k) {}
    Kind kind = Kind::None;
    OdDbStub* stub = nullptr;
    OdDbObjectPtr first;    // Modify: the kept state; HandOver: the object that bore the id before
    OdDbObjectPtr second;   // HandOver: the object that bears it after
    OdDbObjectId listOwner; // Append: the block whose entity list took the id
    bool flag = false;      // Erase: erased before; Append: true for "was appended"
    OdString name;          // SysVar: the variable; BlockBegin: the block's label
    OdResBufPtr value;      // SysVar: the value before

    bool isStructural() const
    {
        return kind == Kind::None || kind == Kind::Mark || kind == Kind::BlockBegin || kind == Kind::BlockEnd
            || kind == Kind::TxStart;
    }
};

class UndoLog {
public:
    explicit UndoLog(OdDbDatabase& db) : m_db(db) {}

    std::uint64_t currentRecord() const { return m_record; }
    void newRecord() { ++m_record; }
    void record(UndoEntry entry);

    void setMark();
    bool hasMark() const;
    void undoBack();
    void beginBlock(const OdString& label);
    void endBlock();
    int blockDepth() const { return m_blockDepth; }
    // Rolls back the most recent block; keepForRedo puts the change on the redo stack. label
    // (when not null) receives the block's label.
    bool undo(bool keepForRedo, OdString* label);
    bool redo(OdString* label);
    bool hasUndo() const;
    bool hasRedo() const { return !m_redo.empty(); }
    void startTransaction();
    void endTransaction();
    void abortTransaction();
    std::size_t size() const { return m_log.size(); }
    void clear();

    // Moves an id from one object to another (hand-over and its undo).
    static void moveIdentity(OdDbStub* stub, OdDbObject* from, OdDbObject* to);

private:
    UndoEntry apply(UndoEntry& entry);
    // Rolls back entries from the end down to index `stop` (exclusive); answers the inverses in
    // the order they were applied.
    std::vector<UndoEntry> rollBackTo(std::size_t stop);

    OdDbDatabase& m_db;
    std::vector<UndoEntry> m_log;
    // What undo took back, as the inverses to replay, with the label of its block.
    struct RedoGroup {
        OdString label;
        std::vector<UndoEntry> inverses;
    };
    std::vector<RedoGroup> m_redo;
    std::uint64_t m_record = 1;
    int m_blockDepth = 0;
    bool m_replaying = false;
};

} // namespace vantrel
