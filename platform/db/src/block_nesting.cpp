// The cycles of blocks inserting blocks, found by a depth-first walk over the block table.
#include <vantrel/db/OdDbBlockReference.h>
#include <vantrel/db/OdDbBlockTableRecord.h>
#include <vantrel/db/OdDbDimension.h>
#include <vantrel/db/OdDbSymbolTable.h>
#include <vantrel/db/block_nesting.h>

#include <unordered_map>
#include <unordered_set>

namespace vantrel {

namespace {

// The blocks the entities of a block draw: those of its inserts and dimensions.
std::vector<OdDbObjectId> blocksDrawnBy(OdDbObjectId block)
{
    std::vector<OdDbObjectId> out;
    OdDbBlockTableRecordPtr btr = OdDbBlockTableRecord::cast(block.openObject().get());
    if (!btr)
        return out;
    for (OdDbObjectId id : btr->entityIds()) {
        if (id.isErased())
            continue;
        OdDbObjectPtr obj = id.openObject();
        if (OdDbBlockReference* ref = OdDbBlockReference::cast(obj.get()).get())
            out.push_back(ref->blockTableRecord());
        else if (OdDbDimension* dim = OdDbDimension::cast(obj.get()).get())
            out.push_back(dim->dimBlockId());
    }
    return out;
}

} // namespace

OdDbObjectId blockNamed(const OdDbDatabase* db, const OdString& name)
{
    if (!db || name.isEmpty())
        return OdDbObjectId();
    OdDbSymbolTablePtr blocks = OdDbSymbolTable::cast(db->getBlockTableId().openObject().get());
    return blocks ? blocks->getAt(name) : OdDbObjectId();
}

namespace {

using BlockGraph = std::unordered_map<OdDbObjectId, std::vector<OdDbObjectId>>;

// The blocks each block draws. A layout (model space above all, which holds most of a drawing)
// lies on a cycle only when some block inserts it, so its entities are walked only then.
BlockGraph blockGraph(const std::vector<OdDbObjectId>& all)
{
    BlockGraph edges;
    std::vector<OdDbObjectId> layouts;
    for (OdDbObjectId b : all) {
        OdDbBlockTableRecordPtr btr = OdDbBlockTableRecord::cast(b.openObject().get());
        if (btr && btr->isLayout())
            layouts.push_back(b);
        else
            edges[b] = blocksDrawnBy(b);
    }
    std::unordered_set<OdDbObjectId> inserted;
    for (const auto& [block, to] : edges)
        inserted.insert(to.begin(), to.end());
    for (OdDbObjectId layout : layouts)
        if (inserted.count(layout)) {
            for (OdDbObjectId b : layouts)
                edges[b] = blocksDrawnBy(b);
            break;
        }
    return edges;
}

// Iterative depth-first search: a block met again while still on the path closes a cycle, and
// every block of the path from it on lies on that cycle.
std::unordered_set<OdDbObjectId> blocksOnCycles(const std::vector<OdDbObjectId>& all, BlockGraph& edges)
{
    enum class Mark { New, OnPath, Done };
    std::unordered_map<OdDbObjectId, Mark> mark;
    std::unordered_set<OdDbObjectId> cyclic;
    for (OdDbObjectId root : all) {
        if (mark[root] != Mark::New || !edges.count(root))
            continue;
        std::vector<std::pair<OdDbObjectId, std::size_t>> path{{root, 0}};
        mark[root] = Mark::OnPath;
        while (!path.empty()) {
            auto& [block, next] = path.back();
            const std::vector<OdDbObjectId>& to = edges[block];
            if (next == to.size()) {
                mark[block] = Mark::Done;
                path.pop_back();
                continue;
            }
            const OdDbObjectId child = to[next++];
            if (child.isNull() || !edges.count(child))
                continue;
            if (mark[child] == Mark::OnPath) {
                for (auto it = path.rbegin(); it != path.rend(); ++it) {
                    cyclic.insert(it->first);
                    if (it->first == child)
                        break;
                }
            } else if (mark[child] == Mark::New) {
                mark[child] = Mark::OnPath;
                path.emplace_back(child, 0);
            }
        }
    }
    return cyclic;
}

} // namespace

std::vector<OdDbObjectId> blocksInsertingThemselves(const OdDbDatabase& db)
{
    OdDbSymbolTablePtr blocks = db.getBlockTableId().safeOpenObject();
    const std::vector<OdDbObjectId> all = blocks->recordIds();
    BlockGraph edges = blockGraph(all);
    const std::unordered_set<OdDbObjectId> cyclic = blocksOnCycles(all, edges);
    std::vector<OdDbObjectId> out;
    for (OdDbObjectId b : all)
        if (cyclic.count(b))
            out.push_back(b);
    return out;
}

} // namespace vantrel
