// Keeping the spatial index of the active space in step with the drawing, and painting from it.
// Slots are numbered in draw order when the space is read; an entity appended later gets the next
// number, so it is drawn above what was there, as it is in the drawing.
#include "view/DrawingScene.h"

#include <algorithm>
#include <cmath>

#include <vantrel/db/LayerVisibility.h>
#include <vantrel/db/OdDbBlockTableRecord.h>
#include <vantrel/db/OdDbSortentsTable.h>
#include <vantrel/db/OdDbTables.h>
#include <vantrel/host/hostutils.h>

#include "view/QPainterSink.h"

namespace vantrel::studio {

namespace {

// Learns an entity's colour and whether it draws symbols of a size fixed on screen, without
// drawing anything.
class TraitsCatcher : public WorldDraw {
public:
    std::uint32_t rgb = 0xFFFFFF;
    bool fixedSize = false;

    void setTraits(const DrawTraits& traits) override { rgb = traits.rgb; }
    void path(std::span<const PathVertex>, bool, const OdGeVector3d&) override {}
    void polygon(std::span<const OdGePoint3d>, bool) override {}
    void circularArc(const OdGePoint3d&, double, const OdGeVector3d&, const OdGeVector3d&, double) override {}
    void ellipticArc(const OdGePoint3d&, const OdGeVector3d&, const OdGeVector3d&, double, double) override {}
    void region(std::span<const std::vector<OdGePoint3d>>) override {}
    void text(const TextRun&) override {}
    void marker(const OdGePoint3d&, MarkerKind, double size) override { fixedSize = fixedSize || !(size > 0.0); }
    void markerPolyline(const OdGePoint3d&, std::span<const OdGeVector3d>, double size) override
    {
        fixedSize = fixedSize || !(size > 0.0);
    }
};

Box boxOf(const OdGeExtents3d& e) { return {e.minPoint().x, e.minPoint().y, e.maxPoint().x, e.maxPoint().y}; }

// Variables that change what a space shows or which space is shown.
bool changesDisplay(const OdString& name)
{
    for (const wchar_t* shown : {L"TILEMODE", L"CVPORT", L"LTSCALE", L"PDMODE", L"PDSIZE", L"LWDISPLAY"})
        if (name.iCompare(shown) == 0)
            return true;
    return false;
}

} // namespace

DrawingScene::DrawingScene(OdDbDatabase& db) : m_dbHold(&db), m_db(db) { m_db.addListener(this); }

DrawingScene::~DrawingScene() { m_db.removeListener(this); }

void DrawingScene::objectAppended(OdDbObjectId id) { m_dirty.insert(id); }

void DrawingScene::objectModified(OdDbObjectId id)
{
    OdDbObjectPtr object = id.openObject(OdDb::kForRead, true);
    if (!object)
        return;
    OdDbEntityPtr entity = OdDbEntity::cast(object.get());
    // Entities of the space change alone; anything else (a layer, a block an insert shows, the
    // draw order) can change what many entities look like.
    if (entity && entity->ownerId() == m_space)
        m_dirty.insert(id);
    else
        m_rebuild = true;
}

void DrawingScene::objectErased(OdDbObjectId id, bool) { m_dirty.insert(id); }

void DrawingScene::sysVarChanged(const OdString& name)
{
    if (changesDisplay(name))
        m_rebuild = true;
}

void DrawingScene::rebuild()
{
    m_rebuild = false;
    m_dirty.clear();
    m_slots.clear();
    m_slotOf.clear();
    m_fixedSize.clear();
    m_space = getActiveBTRId(&m_db);
    OdDbBlockTableRecordPtr btr = m_space.safeOpenObject();
    std::vector<OdDbObjectId> order;
    if (OdDbSortentsTablePtr sortents = btr->getSortentsTable(false)) {
        order = sortents->drawOrder();
    } else {
        for (OdDbObjectIteratorPtr it = btr->newIterator(); !it->done(); it->step())
            order.push_back(it->objectId());
    }
    // The index covers what the space holds now, with room around it to grow.
    OdGeExtents3d all;
    std::vector<std::pair<OdDbObjectId, OdGeExtents3d>> boxes;
    boxes.reserve(order.size());
    for (OdDbObjectId id : order) {
        OdDbEntityPtr entity = OdDbEntity::cast(id.openObject().get());
        OdGeExtents3d e;
        if (!entity || entity->getGeomExtents(e) != eOk || !e.isValidExtents())
            continue;
        all.addExt(e);
        boxes.emplace_back(id, e);
    }
    Box bounds = all.isValidExtents() ? boxOf(all) : Box{0.0, 0.0, 100.0, 100.0};
    const double grow = std::max({bounds.width(), bounds.height(), 1.0});
    bounds = {bounds.x0 - grow, bounds.y0 - grow, bounds.x0 + 2.0 * grow, bounds.y0 + 2.0 * grow};
    m_index = std::make_unique<SpatialIndex>(bounds);
    for (OdDbObjectId id : order)
        place(id);
}

std::uint32_t DrawingScene::slotFor(OdDbObjectId id)
{
    auto [it, added] = m_slotOf.try_emplace(id, static_cast<std::uint32_t>(m_slots.size()));
    if (added)
        m_slots.push_back({id, {}, 0xFFFFFF, false, false});
    return it->second;
}

void DrawingScene::takeOut(OdDbObjectId id)
{
    auto it = m_slotOf.find(id);
    if (it == m_slotOf.end())
        return;
    Slot& slot = m_slots[it->second];
    if (slot.inIndex)
        m_index->remove(it->second);
    m_fixedSize.erase(it->second);
    slot.inIndex = false;
    slot.fixedSize = false;
}

void DrawingScene::place(OdDbObjectId id)
{
    OdDbEntityPtr entity = OdDbEntity::cast(id.openObject().get());
    OdGeExtents3d e;
    if (!entity || entity->ownerId() != m_space || entity->visibility() != OdDb::kVisible
        || !layerShown(entity->layerId()) || entity->getGeomExtents(e) != eOk || !e.isValidExtents()) {
        takeOut(id);
        return;
    }
    TraitsCatcher traits;
    entity->draw(traits);
    const std::uint32_t n = slotFor(id);
    Slot& slot = m_slots[n];
    slot.box = boxOf(e);
    slot.rgb = traits.rgb;
    if (slot.inIndex && traits.fixedSize)
        m_index->remove(n);
    slot.fixedSize = traits.fixedSize;
    slot.inIndex = !traits.fixedSize;
    if (slot.fixedSize)
        m_fixedSize.insert(n);
    else
        m_index->insert(n, slot.box);
}

void DrawingScene::refresh()
{
    if (m_rebuild || !m_index || getActiveBTRId(&m_db) != m_space) {
        rebuild();
        return;
    }
    for (OdDbObjectId id : m_dirty)
        place(id);
    m_dirty.clear();
}

OdGeExtents3d DrawingScene::extents()
{
    refresh();
    OdGeExtents3d all;
    for (const Slot& slot : m_slots)
        if (slot.inIndex || slot.fixedSize)
            all.addExt(
                OdGeExtents3d(OdGePoint3d(slot.box.x0, slot.box.y0, 0.0), OdGePoint3d(slot.box.x1, slot.box.y1, 0.0)));
    return all;
}

std::vector<std::uint32_t> DrawingScene::visibleSlots(const Box& area, double fixedMargin)
{
    refresh();
    std::vector<std::uint32_t> found;
    m_index->query(area, [&found](std::uint32_t n, const Box&) { found.push_back(n); });
    const Box wide{area.x0 - fixedMargin, area.y0 - fixedMargin, area.x1 + fixedMargin, area.y1 + fixedMargin};
    for (std::uint32_t n : m_fixedSize)
        if (m_slots[n].box.overlaps(wide))
            found.push_back(n);
    std::sort(found.begin(), found.end());
    return found;
}

std::vector<OdDbObjectId> DrawingScene::entitiesIn(const Box& area)
{
    std::vector<OdDbObjectId> ids;
    for (std::uint32_t n : visibleSlots(area, 0.0))
        ids.push_back(m_slots[n].id);
    return ids;
}

DrawingScene::PaintCount DrawingScene::paint(QPainter& painter, const ViewTransform& view)
{
    PaintCount count;
    const double scale = view.scale();
    const std::vector<std::uint32_t> shown
        = visibleSlots(view.visibleArea(), QPainterSink::kDefaultMarkerPixels * 2.0 / scale);
    QPainterSink sink(painter, view);
    // One dot per pixel is enough however many entities share it.
    const int w = view.width(), h = view.height();
    std::vector<bool> dotted(static_cast<std::size_t>(w) * static_cast<std::size_t>(h), false);
    std::unordered_map<std::uint32_t, QVector<QPoint>> dots;
    for (std::uint32_t n : shown) {
        const Slot& slot = m_slots[n];
        if (!slot.fixedSize && std::max(slot.box.width(), slot.box.height()) * scale < 1.0) {
            const ScreenPoint s = view.toScreen((slot.box.x0 + slot.box.x1) / 2.0, (slot.box.y0 + slot.box.y1) / 2.0);
            const int x = static_cast<int>(s.x), y = static_cast<int>(s.y);
            if (x < 0 || y < 0 || x >= w || y >= h)
                continue;
            const std::size_t pixel
                = static_cast<std::size_t>(y) * static_cast<std::size_t>(w) + static_cast<std::size_t>(x);
            if (!dotted[pixel]) {
                dotted[pixel] = true;
                dots[slot.rgb].push_back(QPoint(x, y));
                ++count.dots;
            }
            continue;
        }
        OdDbEntityPtr entity = OdDbEntity::cast(slot.id.openObject().get());
        if (!entity)
            continue;
        sink.setHighlighted(entity->isHighlighted());
        entity->draw(sink);
        ++count.drawn;
    }
    for (const auto& [rgb, points] : dots) {
        painter.setPen(QPen(QColor::fromRgb(rgb & 0xFFFFFF), 1.0));
        painter.drawPoints(points.data(), static_cast<int>(points.size()));
    }
    return count;
}

} // namespace vantrel::studio
