// Draw order of a block's entities.
#include <vantrel/db/OdDbBlockTableRecord.h>
#include <vantrel/db/OdDbSortentsTable.h>

#include <algorithm>
#include <unordered_map>
#include <unordered_set>

ODRX_DEFINE_MEMBERS(OdDbSortentsTable, OdDbObject, "SORTENTSTABLE")

std::vector<OdDbObjectId> OdDbSortentsTable::drawOrder() const
{
    assertReadEnabled();
    OdDbBlockTableRecordPtr block = OdDbBlockTableRecord::cast(m_block.openObject().get());
    std::vector<OdDbObjectId> order = m_order;
    if (block) {
        // Entities appended after the last reorder are drawn on top, in append order.
        const std::unordered_set<OdDbObjectId> ordered(m_order.begin(), m_order.end());
        for (OdDbObjectId id : block->entityIds())
            if (!ordered.contains(id))
                order.push_back(id);
    }
    std::erase_if(order, [](OdDbObjectId id) { return id.isErased() || !id.isValid(); });
    return order;
}

void OdDbSortentsTable::reorder(const std::vector<OdDbObjectId>& moving, OdDbObjectId target, bool below)
{
    std::vector<OdDbObjectId> order = drawOrder();
    for (OdDbObjectId id : moving)
        if (std::find(order.begin(), order.end(), id) == order.end())
            throw OdError(eInvalidInput, "entity " + id.getHandle().ascii() + " is not in this block");
    if (!target.isNull() && std::find(moving.begin(), moving.end(), target) != moving.end())
        throw OdError(eInvalidInput, "an entity cannot move relative to itself");
    assertWriteEnabled();
    std::vector<OdDbObjectId> moved;
    for (OdDbObjectId id : order)
        if (std::find(moving.begin(), moving.end(), id) != moving.end())
            moved.push_back(id);
    std::erase_if(order, [&](OdDbObjectId id) { return std::find(moving.begin(), moving.end(), id) != moving.end(); });
    auto pos = order.end();
    if (target.isNull()) {
        pos = below ? order.begin() : order.end();
    } else {
        pos = std::find(order.begin(), order.end(), target);
        if (pos == order.end())
            throw OdError(eInvalidInput, "the target entity is not in this block");
        if (!below)
            ++pos;
    }
    order.insert(pos, moved.begin(), moved.end());
    m_order = std::move(order);
}

void OdDbSortentsTable::moveBelow(const std::vector<OdDbObjectId>& entities, OdDbObjectId target)
{
    if (target.isNull())
        throw OdError(eNullObjectId);
    reorder(entities, target, true);
}

void OdDbSortentsTable::moveAbove(const std::vector<OdDbObjectId>& entities, OdDbObjectId target)
{
    if (target.isNull())
        throw OdError(eNullObjectId);
    reorder(entities, target, false);
}

void OdDbSortentsTable::moveToBottom(const std::vector<OdDbObjectId>& entities)
{
    reorder(entities, OdDbObjectId(), true);
}

void OdDbSortentsTable::moveToTop(const std::vector<OdDbObjectId>& entities)
{
    reorder(entities, OdDbObjectId(), false);
}

std::vector<std::pair<OdDbObjectId, OdDbHandle>> OdDbSortentsTable::sortHandles() const
{
    // The i-th entity in draw order takes the i-th smallest handle as its sort handle; only
    // entities whose sort handle differs from their own handle need an entry.
    std::vector<OdDbObjectId> order = drawOrder();
    std::vector<OdDbHandle> handles;
    handles.reserve(order.size());
    for (OdDbObjectId id : order)
        handles.push_back(id.getHandle());
    std::sort(handles.begin(), handles.end());
    std::vector<std::pair<OdDbObjectId, OdDbHandle>> out;
    for (std::size_t i = 0; i < order.size(); ++i)
        if (order[i].getHandle() != handles[i])
            out.emplace_back(order[i], handles[i]);
    return out;
}

void OdDbSortentsTable::setSortHandles(std::vector<std::pair<OdDbObjectId, OdDbHandle>> pairs)
{
    assertWriteEnabled();
    OdDbBlockTableRecordPtr block = OdDbBlockTableRecord::cast(m_block.openObject().get());
    std::vector<std::pair<OdDbHandle, OdDbObjectId>> keyed;
    if (block)
        for (OdDbObjectId id : block->entityIds())
            keyed.emplace_back(id.getHandle(), id);
    std::unordered_map<OdDbObjectId, OdDbHandle> sortOf(pairs.begin(), pairs.end());
    for (auto& k : keyed)
        if (auto it = sortOf.find(k.second); it != sortOf.end())
            k.first = it->second;
    std::stable_sort(keyed.begin(), keyed.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
    m_order.clear();
    for (auto& k : keyed)
        m_order.push_back(k.second);
}
