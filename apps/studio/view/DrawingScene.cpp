// Keeping the spatial index of the active space in step with the drawing, and painting from it.
// Slots are numbered in draw order when the space is read; an entity appended later gets the next
// number, so it is drawn above what was there, as it is in the drawing.
#include "view/DrawingScene.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <map>
#include <thread>

#include <vantrel/db/ExtentsDraw.h>
#include <vantrel/db/LayerVisibility.h>
#include <vantrel/db/OdDbBlockTableRecord.h>
#include <vantrel/db/OdDbSortentsTable.h>
#include <vantrel/db/OdDbTables.h>
#include <vantrel/host/hostutils.h>

#include "view/QPainterSink.h"

namespace vantrel::studio {

namespace {

// Learns in one draw what the scene keeps of an entity: its box (measured as its extents are),
// its colour and whether it draws symbols of a size fixed on screen.
class FactsCatcher : public ExtentsDraw {
public:
    std::uint32_t rgb = 0xFFFFFF;
    bool fixedSize = false;

    void setTraits(const DrawTraits& traits) override { rgb = traits.rgb; }
    void marker(const OdGePoint3d& position, MarkerKind kind, double size) override
    {
        fixedSize = fixedSize || !(size > 0.0);
        ExtentsDraw::marker(position, kind, size);
    }
    void markerPolyline(const OdGePoint3d& position, std::span<const OdGeVector3d> offsets, double size) override
    {
        fixedSize = fixedSize || !(size > 0.0);
        ExtentsDraw::markerPolyline(position, offsets, size);
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

void DrawingScene::objectAppended(OdDbObjectId id)
{
    ++m_changes;
    m_dirty.insert(id);
}

void DrawingScene::objectModified(OdDbObjectId id)
{
    ++m_changes;
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

void DrawingScene::objectErased(OdDbObjectId id, bool)
{
    ++m_changes;
    m_dirty.insert(id);
}

void DrawingScene::sysVarChanged(const OdString& name)
{
    ++m_changes;
    if (changesDisplay(name))
        m_rebuild = true;
}

struct DrawingScene::Facts {
    OdDbObjectId id;
    Box box;
    std::uint32_t rgb = 0xFFFFFF;
    bool fixedSize = false;
};

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
    // Each entity is drawn once to learn its box, and the index covers what the space shows now,
    // with room around it to grow.
    std::vector<Facts> shown;
    shown.reserve(order.size());
    OdGeExtents3d all;
    for (OdDbObjectId id : order) {
        Facts facts{id, {}, 0xFFFFFF, false};
        if (!learn(OdDbEntity::cast(id.openObject().get()).get(), facts))
            continue;
        all.addExt(
            OdGeExtents3d(OdGePoint3d(facts.box.x0, facts.box.y0, 0.0), OdGePoint3d(facts.box.x1, facts.box.y1, 0.0)));
        shown.push_back(facts);
    }
    Box bounds = all.isValidExtents() ? boxOf(all) : Box{0.0, 0.0, 100.0, 100.0};
    const double grow = std::max({bounds.width(), bounds.height(), 1.0});
    bounds = {bounds.x0 - grow, bounds.y0 - grow, bounds.x0 + 2.0 * grow, bounds.y0 + 2.0 * grow};
    m_index = std::make_unique<SpatialIndex>(bounds);
    m_slots.reserve(shown.size());
    m_slotOf.reserve(shown.size());
    for (const Facts& facts : shown)
        fillSlot(slotFor(facts.id), facts);
}

std::uint32_t DrawingScene::slotFor(OdDbObjectId id)
{
    auto [it, added] = m_slotOf.try_emplace(id, static_cast<std::uint32_t>(m_slots.size()));
    if (added)
        m_slots.push_back({id, {}, 0xFFFFFF, false, false, nullptr});
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
    slot.list.reset();
}

bool DrawingScene::learn(const OdDbEntity* entity, Facts& facts) const
{
    if (!entity || entity->ownerId() != m_space || entity->visibility() != OdDb::kVisible
        || !layerShown(entity->layerId()))
        return false;
    FactsCatcher catcher;
    entity->draw(catcher);
    if (!catcher.extents().isValidExtents())
        return false;
    facts.box = boxOf(catcher.extents());
    facts.rgb = catcher.rgb;
    facts.fixedSize = catcher.fixedSize;
    return true;
}

void DrawingScene::place(OdDbObjectId id)
{
    Facts facts{id, {}, 0xFFFFFF, false};
    if (!learn(OdDbEntity::cast(id.openObject().get()).get(), facts)) {
        takeOut(id);
        return;
    }
    fillSlot(slotFor(id), facts);
}

void DrawingScene::fillSlot(std::uint32_t n, const Facts& facts)
{
    Slot& slot = m_slots[n];
    slot.box = facts.box;
    slot.rgb = facts.rgb;
    slot.list.reset();
    if (slot.inIndex && facts.fixedSize)
        m_index->remove(n);
    slot.fixedSize = facts.fixedSize;
    slot.inIndex = !facts.fixedSize;
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
    // Marked in a bitmap of the slots and read back in the order of their numbers, which is the
    // draw order.
    std::vector<std::uint64_t> marked((m_slots.size() + 63) / 64, 0);
    auto mark = [&marked](std::uint32_t n) { marked[n / 64] |= std::uint64_t{1} << (n % 64); };
    m_index->query(area, [&mark](std::uint32_t n, const Box&) { mark(n); });
    const Box wide{area.x0 - fixedMargin, area.y0 - fixedMargin, area.x1 + fixedMargin, area.y1 + fixedMargin};
    for (std::uint32_t n : m_fixedSize)
        if (m_slots[n].box.overlaps(wide))
            mark(n);
    std::vector<std::uint32_t> found;
    for (std::size_t word = 0; word < marked.size(); ++word)
        for (std::uint64_t bits = marked[word]; bits != 0; bits &= bits - 1)
            found.push_back(static_cast<std::uint32_t>(word * 64 + static_cast<std::size_t>(std::countr_zero(bits))));
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
    return paint(painter, view, QRect(0, 0, view.width(), view.height()));
}

namespace {

// The drawing's area that reaches into a rectangle of the view's pixels, with the margin for what
// is drawn beyond an entity's box: heavy lines, the blur of antialiasing.
Box areaOf(const ViewTransform& view, const QRect& pixels)
{
    const int bleed = DrawingScene::kBleedPixels;
    const OdGePoint3d corner0 = view.toWorld(pixels.left() - bleed, pixels.bottom() + 1 + bleed);
    const OdGePoint3d corner1 = view.toWorld(pixels.right() + 1 + bleed, pixels.top() - bleed);
    return {corner0.x, corner0.y, corner1.x, corner1.y};
}

// How far beyond its box an entity of fixed size on screen (a marker) may reach, in drawing units.
double fixedSizeReach(const ViewTransform& view) { return QPainterSink::kDefaultMarkerPixels * 2.0 / view.scale(); }

Box widened(const Box& b, double margin) { return {b.x0 - margin, b.y0 - margin, b.x1 + margin, b.y1 + margin}; }

// The image a painter paints on, when it paints there without a transformation or clip of its
// own and in a format whose pixels are words: then parts of it may be painted at the same time.
QImage* bandableImage(QPainter& painter, const QRect& pixels, std::size_t entities)
{
    // Below these a second thread costs more than it saves.
    constexpr int kMinBandRows = 64;
    constexpr std::size_t kMinEntities = 2000;
    if (std::thread::hardware_concurrency() < 2 || pixels.height() < 2 * kMinBandRows || entities < kMinEntities)
        return nullptr;
    QPaintDevice* device = painter.device();
    if (!device || device->devType() != QInternal::Image || painter.hasClipping()
        || !painter.worldTransform().isIdentity() || painter.compositionMode() != QPainter::CompositionMode_SourceOver
        || painter.opacity() != 1.0)
        return nullptr;
    auto* image = static_cast<QImage*>(device);
    const QImage::Format format = image->format();
    return format == QImage::Format_RGB32 || format == QImage::Format_ARGB32_Premultiplied ? image : nullptr;
}

} // namespace

DrawingScene::Frame DrawingScene::prepare(const ViewTransform& view, const QRect& pixels)
{
    Frame frame;
    const double scale = view.scale();
    const std::vector<std::uint32_t> shown = visibleSlots(areaOf(view, pixels), fixedSizeReach(view));
    // One dot per pixel of the view is enough however many entities share it: the lowest in draw
    // order. Colours are drawn in their order, so that a part of a picture comes out as the
    // whole does.
    const int w = view.width(), h = view.height();
    std::vector<bool> dotted(static_cast<std::size_t>(w) * static_cast<std::size_t>(h), false);
    for (std::uint32_t n : shown) {
        Slot& slot = m_slots[n];
        if (!slot.fixedSize && std::max(slot.box.width(), slot.box.height()) * scale < 1.0) {
            const ScreenPoint s = view.toScreen((slot.box.x0 + slot.box.x1) / 2.0, (slot.box.y0 + slot.box.y1) / 2.0);
            const double x = std::floor(s.x), y = std::floor(s.y);
            if (!(x >= 0.0 && y >= 0.0 && x < w && y < h))
                continue;
            const std::size_t pixel
                = static_cast<std::size_t>(y) * static_cast<std::size_t>(w) + static_cast<std::size_t>(x);
            if (!dotted[pixel]) {
                dotted[pixel] = true;
                frame.dots[slot.rgb].push_back(QPoint(static_cast<int>(x), static_cast<int>(y)));
                ++frame.count.dots;
            }
            continue;
        }
        OdDbEntityPtr entity = OdDbEntity::cast(slot.id.openObject().get());
        if (!entity)
            continue;
        if (!slot.list) {
            slot.list = std::make_unique<DisplayList>();
            entity->draw(*slot.list);
            slot.list->shrink();
        }
        frame.items.push_back({n, entity->isHighlighted()});
        ++frame.count.drawn;
    }
    return frame;
}

void DrawingScene::replay(QPainter& painter, const ViewTransform& view, const Frame& frame, const QRect& pixels) const
{
    const Box area = areaOf(view, pixels);
    const Box wide = widened(area, fixedSizeReach(view));
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, true);
    QPainterSink sink(painter, view);
    for (const Item& item : frame.items) {
        const Slot& slot = m_slots[item.slot];
        if (!slot.box.overlaps(slot.fixedSize ? wide : area))
            continue;
        sink.setHighlighted(item.highlighted);
        slot.list->replay(sink);
    }
    QVector<QPoint> inside;
    for (const auto& [rgb, points] : frame.dots) {
        inside.clear();
        for (const QPoint& p : points)
            if (pixels.contains(p))
                inside.push_back(p);
        painter.setPen(QPen(QColor::fromRgb(rgb & 0xFFFFFF), 1.0));
        painter.drawPoints(inside.data(), static_cast<int>(inside.size()));
    }
    painter.restore();
}

DrawingScene::PaintCount DrawingScene::paint(QPainter& painter, const ViewTransform& view, const QRect& pixels)
{
    const Frame frame = prepare(view, pixels);
    QImage* image = bandableImage(painter, pixels, frame.items.size());
    if (!image) {
        replay(painter, view, frame, pixels);
        return frame.count;
    }
    // The upper and the lower half at the same time, each by a painter of its own on the same
    // pixels, clipped to its half. Qt cuts lines at the image's edges, not at a clip, so the
    // halves come out as one paint of the whole would.
    uchar* bits = image->bits();
    const int mid = pixels.top() + pixels.height() / 2;
    const QRect upper(pixels.left(), pixels.top(), pixels.width(), mid - pixels.top());
    const QRect lower(pixels.left(), mid, pixels.width(), pixels.bottom() + 1 - mid);
    auto paintBand = [&](const QRect& rows) {
        QImage band(bits, image->width(), image->height(), image->bytesPerLine(), image->format());
        band.setDevicePixelRatio(image->devicePixelRatio());
        QPainter bandPainter(&band);
        bandPainter.setRenderHints(painter.renderHints());
        bandPainter.setFont(painter.font());
        bandPainter.setClipRect(rows);
        replay(bandPainter, view, frame, rows);
    };
    std::thread other(paintBand, lower);
    paintBand(upper);
    other.join();
    return frame.count;
}

} // namespace vantrel::studio
