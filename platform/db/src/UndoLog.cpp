// Undo log: recording, rolling back and replaying database changes.
#include "UndoLog.h"

#include <cassert>

#include <vantrel/db/OdDbBlockTableRecord.h>
#include <vantrel/db/SysVarStore.h>

namespace vantrel {

void UndoLog::record(UndoEntry entry)
{
    if (!entry.isStructural() && !m_replaying)
        m_redo.clear();
    m_log.push_back(std::move(entry));
}

void UndoLog::setMark()
{
    record(UndoEntry(UndoEntry::Kind::Mark));
    newRecord();
}

bool UndoLog::hasMark() const
{
    for (auto it = m_log.rbegin(); it != m_log.rend(); ++it)
        if (it->kind == UndoEntry::Kind::Mark)
            return true;
    return false;
}

void UndoLog::undoBack()
{
    for (std::size_t i = m_log.size(); i-- > 0;) {
        if (m_log[i].kind == UndoEntry::Kind::Mark) {
            rollBackTo(i + 1);
            m_log.pop_back(); // the mark itself
            newRecord();
            return;
        }
    }
}

void UndoLog::beginBlock(const OdString& label)
{
    ++m_blockDepth;
    UndoEntry begin(UndoEntry::Kind::BlockBegin);
    begin.name = label;
    record(std::move(begin));
    newRecord();
}

void UndoLog::endBlock()
{
    if (m_blockDepth == 0)
        return;
    --m_blockDepth;
    record(UndoEntry(UndoEntry::Kind::BlockEnd));
    newRecord();
}

bool UndoLog::hasUndo() const
{
    for (const auto& e : m_log)
        if (!e.isStructural())
            return true;
    return false;
}

bool UndoLog::undo(bool keepForRedo, OdString* label)
{
    std::size_t end = m_log.size();
    while (end > 0 && m_log[end - 1].kind == UndoEntry::Kind::None)
        --end;
    if (end == 0)
        return false;
    std::size_t stop = 0;
    OdString blockLabel;
    if (m_log[end - 1].kind == UndoEntry::Kind::BlockEnd) {
        int depth = 0;
        for (std::size_t i = end; i-- > 0;) {
            if (m_log[i].kind == UndoEntry::Kind::BlockEnd)
                ++depth;
            else if (m_log[i].kind == UndoEntry::Kind::BlockBegin && --depth == 0) {
                stop = i;
                break;
            }
        }
        blockLabel = m_log[stop].name;
    } else {
        for (std::size_t i = end; i-- > 0;) {
            auto k = m_log[i].kind;
            if (k == UndoEntry::Kind::Mark || k == UndoEntry::Kind::BlockEnd || k == UndoEntry::Kind::BlockBegin) {
                stop = k == UndoEntry::Kind::Mark ? i : i + 1;
                break;
            }
        }
    }
    auto inverses = rollBackTo(stop);
    m_log.resize(stop);
    bool changed = !inverses.empty();
    if (changed && keepForRedo)
        m_redo.push_back({blockLabel, std::move(inverses)});
    newRecord();
    if (label)
        *label = blockLabel;
    return changed;
}

bool UndoLog::redo(OdString* label)
{
    if (m_redo.empty())
        return false;
    RedoGroup group = std::move(m_redo.back());
    m_redo.pop_back();
    m_replaying = true;
    UndoEntry begin(UndoEntry::Kind::BlockBegin);
    begin.name = group.label;
    record(std::move(begin));
    for (auto it = group.inverses.rbegin(); it != group.inverses.rend(); ++it)
        record(apply(*it));
    record(UndoEntry(UndoEntry::Kind::BlockEnd));
    m_replaying = false;
    newRecord();
    if (label)
        *label = group.label;
    return true;
}

void UndoLog::startTransaction()
{
    record(UndoEntry(UndoEntry::Kind::TxStart));
    newRecord();
}

void UndoLog::endTransaction()
{
    for (std::size_t i = m_log.size(); i-- > 0;)
        if (m_log[i].kind == UndoEntry::Kind::TxStart) {
            m_log[i].kind = UndoEntry::Kind::None;
            return;
        }
}

void UndoLog::abortTransaction()
{
    for (std::size_t i = m_log.size(); i-- > 0;)
        if (m_log[i].kind == UndoEntry::Kind::TxStart) {
            rollBackTo(i + 1);
            m_log.resize(i);
            newRecord();
            return;
        }
}

void UndoLog::clear()
{
    m_log.clear();
    m_redo.clear();
    newRecord();
}

std::vector<UndoEntry> UndoLog::rollBackTo(std::size_t stop)
{
    std::vector<UndoEntry> inverses;
    while (m_log.size() > stop) {
        UndoEntry e = std::move(m_log.back());
        m_log.pop_back();
        if (!e.isStructural())
            inverses.push_back(apply(e));
    }
    return inverses;
}

void UndoLog::moveIdentity(OdDbStub* stub, OdDbObject* from, OdDbObject* to)
{
    to->addRef();
    ++to->m_internalRefs;
    stub->object = to;
    to->m_stub = stub;
    to->m_openMode = from->m_openMode == OdDb::kNotOpen ? OdDb::kNotOpen : OdDb::kForWrite;
    from->m_stub = nullptr;
    from->m_openMode = OdDb::kNotOpen;
    --from->m_internalRefs;
    from->release();
}

UndoEntry UndoLog::apply(UndoEntry& e)
{
    using K = UndoEntry::Kind;
    UndoEntry inv;
    inv.kind = e.kind;
    inv.stub = e.stub;
    switch (e.kind) {
    case K::Modify: {
        OdDbObject* obj = e.stub->object;
        inv.first = obj->shallowCopy();
        obj->copyStateFrom(*e.first);
        m_db.notifyModified(OdDbObjectId(e.stub));
        break;
    }
    case K::Erase:
        inv.flag = e.stub->erased;
        e.stub->erased = e.flag;
        m_db.notifyErased(OdDbObjectId(e.stub), e.flag);
        break;
    case K::HandOver:
        // The id moves back from the later object to the earlier one.
        assert(e.stub->object == e.second.get());
        moveIdentity(e.stub, e.second.get(), e.first.get());
        inv.first = e.second;
        inv.second = e.first;
        m_db.notifyModified(OdDbObjectId(e.stub));
        break;
    case K::Append: {
        OdDbObjectId id(e.stub);
        inv.listOwner = e.listOwner;
        inv.flag = !e.flag;
        OdDbBlockTableRecordPtr owner;
        if (!e.listOwner.isNull())
            owner = OdDbBlockTableRecord::cast(e.listOwner.stub()->object);
        if (e.flag) {
            // Taking an append back: the object leaves the lists it joined and counts as erased.
            if (owner)
                owner->removeLastEntity(id);
            e.stub->erased = true;
        } else {
            e.stub->erased = false;
            if (owner)
                owner->reappendEntity(id);
        }
        m_db.notifyErased(id, e.flag);
        break;
    }
    case K::SysVar:
        inv.name = e.name;
        inv.value = m_db.sysVars().get(e.name);
        m_db.sysVars().set(e.name, *e.value);
        m_db.notifySysVarChanged(e.name);
        break;
    default: break;
    }
    return inv;
}

} // namespace vantrel
