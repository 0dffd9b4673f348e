// Common entity properties, database defaults, display through WorldDraw and extents.
#include <vantrel/db/OdDbDatabase.h>
#include <vantrel/db/OdDbEntity.h>
#include <vantrel/db/OdDbTables.h>

#include <cmath>
#include <numbers>

#include "BlockDraw.h"
#include "entity_math.h"

ODRX_DEFINE_ABSTRACT_MEMBERS(OdDbEntity, OdDbObject)

void OdDbEntity::setLayer(OdDbObjectId layer, bool doSubents)
{
    assertWriteEnabled();
    m_common.layer = layer;
    if (doSubents)
        subSetCommon(m_common);
}

OdString OdDbEntity::layer() const
{
    OdDbLayerTableRecordPtr rec = OdDbLayerTableRecord::cast(layerId().openObject().get());
    return rec ? rec->getName() : OdString();
}

void OdDbEntity::setLinetype(OdDbObjectId linetype, bool doSubents)
{
    assertWriteEnabled();
    m_common.linetype = linetype;
    if (doSubents)
        subSetCommon(m_common);
}

void OdDbEntity::setColor(const OdCmColor& color, bool doSubents)
{
    assertWriteEnabled();
    m_common.color = color;
    if (doSubents)
        subSetCommon(m_common);
}

void OdDbEntity::setColorIndex(std::int16_t index, bool doSubents) { setColor(OdCmColor::byIndex(index), doSubents); }

void OdDbEntity::setLinetypeScale(double scale, bool doSubents)
{
    vantrel::entmath::requireLinetypeScale(scale);
    assertWriteEnabled();
    m_common.linetypeScale = scale;
    if (doSubents)
        subSetCommon(m_common);
}

void OdDbEntity::setLineWeight(std::int16_t weight, bool doSubents)
{
    vantrel::entmath::requireLineweight(weight);
    assertWriteEnabled();
    m_common.lineWeight = weight;
    if (doSubents)
        subSetCommon(m_common);
}

void OdDbEntity::setVisibility(OdDb::Visibility visibility, bool doSubents)
{
    assertWriteEnabled();
    m_common.invisible = visibility == OdDb::kInvisible;
    if (doSubents)
        subSetCommon(m_common);
}

void OdDbEntity::setDatabaseDefaults(OdDbDatabase* db, bool doSubents)
{
    if (!db)
        db = database();
    if (!db)
        throw OdError(eNotInDatabase, "database defaults need a database");
    assertWriteEnabled();
    m_common.layer = db->getCLAYER();
    m_common.linetype = db->getCELTYPE();
    m_common.color = OdCmColor::byIndex(static_cast<std::int16_t>(db->sysVarInt(L"CECOLOR")));
    m_common.linetypeScale = db->sysVarDouble(L"CELTSCALE");
    m_common.lineWeight = static_cast<std::int16_t>(db->sysVarInt(L"CELWEIGHT"));
    if (!isDBRO())
        setDefaultDatabase(db);
    if (doSubents)
        subSetCommon(m_common);
}

void OdDbEntity::setPropertiesFrom(const OdDbEntity* other, bool doSubents)
{
    if (!other)
        throw OdError(eNullObjectPointer);
    assertWriteEnabled();
    const CommonData& o = other->commonData();
    m_common.layer = o.layer;
    m_common.linetype = o.linetype;
    m_common.color = o.color;
    m_common.linetypeScale = o.linetypeScale;
    m_common.lineWeight = o.lineWeight;
    m_common.invisible = o.invisible;
    if (!isDBRO() && !database())
        setDefaultDatabase(other->database());
    if (doSubents)
        subSetCommon(m_common);
}

void OdDbEntity::highlight(bool on, bool) { m_highlighted = on; }

void OdDbEntity::transformBy(const OdGeMatrix3d&)
{
    throw OdError(eNotImplementedYet, isA()->name() + " cannot be transformed");
}

void OdDbEntity::subWorldDraw(vantrel::WorldDraw&) const {}

void OdDbEntity::subSetCommon(const CommonData&) {}

void OdDbEntity::draw(vantrel::WorldDraw& wd) const
{
    // Inside a block, by-block values and layer 0 take what the insert drawing it gives.
    const auto* block = dynamic_cast<const vantrel::BlockDraw*>(&wd);
    const vantrel::ResolvedProps props = vantrel::resolveProps(*this, block ? &block->props() : nullptr);
    OdDbDatabase* db = database();
    vantrel::DrawTraits traits;
    traits.rgb = props.color.isByLayer() || props.color.isByBlock() ? 0xFFFFFF : props.color.rgb();
    // The default weight (-3) is drawn as the thinnest line, as screens show it.
    traits.lineWeightMm = props.lineWeight > 0 ? props.lineWeight / 100.0 : 0.0;
    const vantrel::LinetypeUse use = linetypeUse();
    OdDbLinetypeTableRecordPtr pattern = OdDbLinetypeTableRecord::cast(props.linetype.openObject().get());
    if (use != vantrel::LinetypeUse::None && db && pattern && pattern->patternLength() > 0.0) {
        const double scale = m_common.linetypeScale * db->sysVarDouble(L"LTSCALE");
        for (double dash : pattern->dashes())
            traits.dashes.push_back(dash * scale);
        traits.dashesThroughVertices = use == vantrel::LinetypeUse::ThroughVertices;
    }
    wd.setTraits(traits);
    subWorldDraw(wd);
}

namespace {
// Collects the points an entity draws; arcs contribute their extreme points.
class ExtentsCollector : public vantrel::WorldDraw {
public:
    OdGeExtents3d ext;

    void setTraits(const vantrel::DrawTraits&) override {}
    void path(std::span<const vantrel::PathVertex> vertices, bool closed, const OdGeVector3d& normal) override
    {
        const std::size_t n = vertices.size();
        for (std::size_t i = 0; i < n; ++i) {
            const auto& v = vertices[i];
            double w = std::max(v.startWidth, v.endWidth) / 2.0;
            addPoint(v.point, w);
            bool hasNext = i + 1 < n || closed;
            if (hasNext && v.bulge != 0.0) {
                const auto& next = vertices[(i + 1) % n].point;
                arcThrough(v.point, next, v.bulge, normal, w);
            }
            const bool hasPrevious = i > 0 || closed;
            if (hasPrevious && hasNext && n > 2) {
                const auto& previous = vertices[(i + n - 1) % n];
                const double h = std::max(previous.endWidth, v.startWidth) / 2.0;
                if (h > 0.0 && previous.bulge == 0.0 && v.bulge == 0.0)
                    addMiter(previous.point, v.point, vertices[(i + 1) % n].point, normal, h);
            }
        }
    }
    void polygon(std::span<const OdGePoint3d> corners, bool) override
    {
        for (const auto& p : corners)
            ext.addPoint(p);
    }
    void circularArc(const OdGePoint3d& c, double r, const OdGeVector3d& normal, const OdGeVector3d& start,
                     double sweep) override
    {
        OdGeVector3d u = start.normal();
        OdGeVector3d v = normal.normal().crossProduct(u);
        ext.addArc(c, u * r, v * r, 0.0, sweep);
    }
    void ellipticArc(const OdGePoint3d& c, const OdGeVector3d& major, const OdGeVector3d& minor, double a0,
                     double a1) override
    {
        ext.addArc(c, major, minor, a0, a1 - a0);
    }
    void region(std::span<const std::vector<OdGePoint3d>> loops) override
    {
        for (const auto& loop : loops)
            for (const auto& p : loop)
                ext.addPoint(p);
    }
    // The box from the descenders to the capitals.
    void text(const vantrel::TextRun& run) override
    {
        const OdGeVector3d along = run.advance * run.width;
        const OdGeVector3d below = run.up * (-vantrel::fontMetrics(run.face).descent * run.height);
        const OdGeVector3d above = run.up * run.height + run.advance * (run.height * std::tan(run.oblique));
        for (const OdGePoint3d& p : {run.origin + below, run.origin + above})
            for (const OdGePoint3d& q : {p, p + along})
                ext.addPoint(q);
    }
    void marker(const OdGePoint3d& p, vantrel::MarkerKind, double) override { ext.addPoint(p); }
    // Like a marker, a symbol of the sink's default size counts with its position only.
    void markerPolyline(const OdGePoint3d& p, std::span<const OdGeVector3d> offsets, double size) override
    {
        ext.addPoint(p);
        if (size > 0.0)
            for (const OdGeVector3d& offset : offsets)
                ext.addPoint(p + offset * size);
    }

private:
    void addPoint(const OdGePoint3d& p, double halfWidth)
    {
        ext.addPoint(p);
        if (halfWidth > 0.0) {
            ext.addPoint(p + OdGeVector3d(halfWidth, halfWidth, 0));
            ext.addPoint(p - OdGeVector3d(halfWidth, halfWidth, 0));
        }
    }
    // Where the edges of a wide path meet at a corner between two straight segments: further out
    // than half the width, as wide paths are drawn with mitred corners. Corners that turn nearly
    // back on themselves are left at half the width rather than reaching far out.
    void addMiter(const OdGePoint3d& a, const OdGePoint3d& corner, const OdGePoint3d& b, const OdGeVector3d& normal,
                  double halfWidth)
    {
        const OdGeVector3d up = normal.isZeroLength() ? OdGeVector3d::kZAxis : normal.normal();
        const OdGeVector3d in = corner - a;
        const OdGeVector3d out = b - corner;
        if (in.isZeroLength() || out.isZeroLength())
            return;
        const OdGeVector3d n1 = up.crossProduct(in.normal());
        const OdGeVector3d n2 = up.crossProduct(out.normal());
        const double cosine = n1.dotProduct(n2);
        if (1.0 + cosine < 0.02)
            return;
        const OdGeVector3d miter = (n1 + n2) * (halfWidth / (1.0 + cosine));
        ext.addPoint(corner + miter);
        ext.addPoint(corner - miter);
    }
    void arcThrough(const OdGePoint3d& a, const OdGePoint3d& b, double bulge, const OdGeVector3d& normal, double w)
    {
        OdGeVector3d chord = b - a;
        double half = chord.length() / 2.0;
        if (half == 0.0)
            return;
        OdGeVector3d n = normal.isZeroLength() ? OdGeVector3d::kZAxis : normal.normal();
        double sweep = 4.0 * std::atan(bulge);
        OdGeVector3d left = n.crossProduct(chord).normal();
        OdGePoint3d center = a + chord / 2.0 + left * (half / std::tan(sweep / 2.0));
        OdGeVector3d u = a - center;
        OdGeExtents3d arc;
        arc.addArc(center, u, n.crossProduct(u), 0.0, sweep);
        addPoint(arc.minPoint(), w);
        addPoint(arc.maxPoint(), w);
    }
};
} // namespace

OdResult OdDbEntity::getGeomExtents(OdGeExtents3d& extents) const
{
    ExtentsCollector collector;
    subWorldDraw(collector);
    if (!collector.ext.isValidExtents())
        return eDegenerateGeometry;
    extents = collector.ext;
    return eOk;
}
