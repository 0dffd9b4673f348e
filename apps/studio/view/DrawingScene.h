// What the drawing view shows of one space of a drawing: each shown entity's box in a spatial
// index, kept up to date from the database's change notifications, and the painting of the
// entities in a visible area in draw order. What an entity draws is kept in a display list at its
// first paint and drawn from there until the entity changes; an entity smaller than a pixel is
// drawn as a dot of its colour without being opened.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include <QPainter>
#include <QImage>
#include <QPoint>
#include <QRect>
#include <QVector>

#include <vantrel/db/OdDbDatabase.h>
#include <vantrel/db/OdDbEntity.h>

#include "view/DisplayList.h"
#include "view/SpatialIndex.h"
#include "view/ViewTransform.h"

namespace vantrel::studio {

class DrawingScene : public DatabaseListener {
public:
    // What one paint did, for the status bar and the bench.
    struct PaintCount {
        std::size_t drawn = 0;
        std::size_t dots = 0;
    };

    explicit DrawingScene(OdDbDatabase& db);
    ~DrawingScene() override;
    DrawingScene(const DrawingScene&) = delete;
    DrawingScene& operator=(const DrawingScene&) = delete;

    // Takes in the changes since the last call (all of the active space when it changed).
    void refresh();
    // The box of everything shown; invalid when the space shows nothing.
    OdGeExtents3d extents();
    // How far past its box an entity may draw, in pixels: half the heaviest line, the blur of
    // antialiasing, the overhang of glyphs.
    static constexpr int kBleedPixels = 8;

    // Paints the shown entities that reach into the view, bottom of the draw order first, with
    // the painter's render hints set as the view draws. On an image (with neither transformation
    // nor clip) the upper and lower halves are painted at the same time, the picture the same.
    PaintCount paint(QPainter& painter, const ViewTransform& view);
    // The same for the entities that reach into a rectangle of the view's pixels, which come out
    // there as the whole view shows them (they are drawn whole, so that Qt cuts their lines at the
    // same edges as in a paint of the whole view).
    PaintCount paint(QPainter& painter, const ViewTransform& view, const QRect& pixels);
    // The shown entities whose boxes overlap the area, in draw order.
    std::vector<OdDbObjectId> entitiesIn(const Box& area);
    std::size_t entityCount()
    {
        refresh();
        return m_index ? m_index->size() + m_fixedSize.size() : 0;
    }

    // Counts the database's notices: a picture painted at one count may be out of date at another.
    std::uint64_t changes() const { return m_changes; }

    void objectAppended(OdDbObjectId id) override;
    void objectModified(OdDbObjectId id) override;
    void objectErased(OdDbObjectId id, bool erased) override;
    void sysVarChanged(const OdString& name) override;

private:
    struct Slot {
        OdDbObjectId id;
        Box box;
        std::uint32_t rgb = 0xFFFFFF;
        bool inIndex = false;
        // Draws a symbol of a fixed size on screen (a light glyph): never a dot, and found by
        // its position with a margin.
        bool fixedSize = false;
        // What the entity drew at its first paint since it last changed.
        std::unique_ptr<DisplayList> list;
    };
    struct Facts;
    // What a paint draws, found before anything is drawn: the entities to play back (their
    // display lists made), and the dots by colour.
    struct Item {
        std::uint32_t slot;
        bool highlighted;
    };
    struct Frame {
        std::vector<Item> items;
        std::map<std::uint32_t, QVector<QPoint>> dots;
        PaintCount count;
    };

    void rebuild();
    // Whether the entity belongs in the index, and what the slot keeps of it when it does.
    bool learn(const OdDbEntity* entity, Facts& facts) const;
    // (Re)reads one entity of the space into its slot, or takes it out when it is not shown.
    void place(OdDbObjectId id);
    // Puts what was learnt of an entity into its slot and the index; its display list is dropped.
    void fillSlot(std::uint32_t n, const Facts& facts);
    void takeOut(OdDbObjectId id);
    std::uint32_t slotFor(OdDbObjectId id);
    Frame prepare(const ViewTransform& view, const QRect& pixels);
    // Plays back what of the frame reaches into the pixels; reads the slots only, so that two
    // painters may play back at once.
    void replay(QPainter& painter, const ViewTransform& view, const Frame& frame, const QRect& pixels) const;
    // Slots that reach into the area, sorted into draw order.
    std::vector<std::uint32_t> visibleSlots(const Box& area, double fixedMargin);

    // Held, so that the scene may outlive the document that showed the drawing.
    OdDbDatabasePtr m_dbHold;
    OdDbDatabase& m_db;
    OdDbObjectId m_space;
    std::unique_ptr<SpatialIndex> m_index;
    std::vector<Slot> m_slots;
    std::unordered_map<OdDbObjectId, std::uint32_t> m_slotOf;
    std::unordered_set<std::uint32_t> m_fixedSize;
    std::unordered_set<OdDbObjectId> m_dirty;
    bool m_rebuild = true;
    std::uint64_t m_changes = 0;
};

} // namespace vantrel::studio
