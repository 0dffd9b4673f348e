// Drawing through an insert's transformation, and the walk over a block's entities with the
// guards against blocks that insert themselves and nests too large to draw.
#include "BlockDraw.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include <vantrel/db/OdDbAttributeDefinition.h>
#include <vantrel/db/OdDbBlockTableRecord.h>
#include <vantrel/db/OdDbSortentsTable.h>

namespace vantrel {

namespace {

OdGeVector3d column(const OdGeMatrix3d& m, int j) { return {m.entry[0][j], m.entry[1][j], m.entry[2][j]}; }

// The mean length scale of the transformation's axes.
double meanScale(const OdGeMatrix3d& m)
{
    return (column(m, 0).length() + column(m, 1).length() + column(m, 2).length()) / 3.0;
}

// Whether perpendicular vectors of equal length a and b (a plane's axes carried over) still are:
// then circles in that plane stay circles.
bool keepsCircles(const OdGeVector3d& a, const OdGeVector3d& b)
{
    const double la = a.length(), lb = b.length();
    const double tol = 1e-9 * std::max(la, lb);
    return la > 0.0 && std::fabs(la - lb) <= tol && std::fabs(a.dotProduct(b)) <= tol * std::max(la, lb);
}

// The unit vector of v, or the fallback when v has no length.
OdGeVector3d unitOr(const OdGeVector3d& v, const OdGeVector3d& fallback)
{
    return v.isZeroLength() ? fallback : v.normal();
}

} // namespace

TransformedDraw::TransformedDraw(WorldDraw& target, const OdGeMatrix3d& xform)
    : m_target(target), m_xform(xform), m_scale(meanScale(xform))
{
}

OdGePoint3d TransformedDraw::point(const OdGePoint3d& p) const
{
    OdGePoint3d q = p;
    q.transformBy(m_xform);
    return q;
}

OdGeVector3d TransformedDraw::vector(const OdGeVector3d& v) const
{
    return {m_xform.entry[0][0] * v.x + m_xform.entry[0][1] * v.y + m_xform.entry[0][2] * v.z,
            m_xform.entry[1][0] * v.x + m_xform.entry[1][1] * v.y + m_xform.entry[1][2] * v.z,
            m_xform.entry[2][0] * v.x + m_xform.entry[2][1] * v.y + m_xform.entry[2][2] * v.z};
}

OdGeVector3d TransformedDraw::planeNormal(const OdGeVector3d& normal) const
{
    const OdGeVector3d n = unitOr(normal, OdGeVector3d::kZAxis);
    const OdGeVector3d u = n.perpVector().normal();
    const OdGeVector3d v = n.crossProduct(u);
    return unitOr(vector(u).crossProduct(vector(v)), OdGeVector3d::kZAxis);
}

void TransformedDraw::conjugateArc(const OdGePoint3d& center, const OdGeVector3d& u, const OdGeVector3d& v,
                                   double start, double end)
{
    // Conjugate semi-diameters a, b become the axes at the parameter t0 where they are
    // perpendicular: c + a cos t + b sin t = c + major cos(t - t0) + minor sin(t - t0).
    const OdGeVector3d a = vector(u), b = vector(v);
    const double t0 = 0.5 * std::atan2(2.0 * a.dotProduct(b), a.dotProduct(a) - b.dotProduct(b));
    const OdGeVector3d major = a * std::cos(t0) + b * std::sin(t0);
    const OdGeVector3d minor = b * std::cos(t0) - a * std::sin(t0);
    m_target.ellipticArc(point(center), major, minor, start - t0, end - t0);
}

void TransformedDraw::path(std::span<const PathVertex> vertices, bool closed, const OdGeVector3d& normal)
{
    const OdGeVector3d n = unitOr(normal, OdGeVector3d::kZAxis);
    const OdGeVector3d along = vector(n.perpVector().normal()),
                       across = vector(n.crossProduct(n.perpVector().normal()));
    const double widthScale = (along.length() + across.length()) / 2.0;
    std::vector<PathVertex> out(vertices.begin(), vertices.end());
    for (PathVertex& pv : out) {
        pv.point = point(pv.point);
        pv.startWidth *= widthScale;
        pv.endWidth *= widthScale;
    }
    if (keepsCircles(along, across)
        || std::all_of(vertices.begin(), vertices.end(), [](const PathVertex& pv) { return pv.bulge == 0.0; })) {
        m_target.path(out, closed, planeNormal(normal));
        return;
    }
    // Bulged segments become elliptic arcs; the straight runs between them stay paths.
    const std::size_t count = vertices.size();
    const std::size_t segments = closed ? count : (count > 0 ? count - 1 : 0);
    std::vector<PathVertex> run;
    auto flush = [&] {
        if (run.size() >= 2)
            m_target.path(run, false, planeNormal(normal));
        run.clear();
    };
    for (std::size_t i = 0; i < segments; ++i) {
        const PathVertex& a = vertices[i];
        const OdGePoint3d& b = vertices[(i + 1) % count].point;
        if (a.bulge == 0.0 || a.point.isEqualTo(b)) {
            if (run.empty())
                run.push_back(out[i]);
            run.push_back(out[(i + 1) % count]);
            run.back().bulge = 0.0;
            run[run.size() - 2].bulge = 0.0;
            continue;
        }
        flush();
        const OdGeVector3d chord = b - a.point;
        const double sweep = 4.0 * std::atan(a.bulge);
        const OdGeVector3d left = n.crossProduct(chord).normal();
        const OdGePoint3d center = a.point + chord / 2.0 + left * (chord.length() / 2.0 / std::tan(sweep / 2.0));
        const OdGeVector3d u = a.point - center;
        conjugateArc(center, u, n.crossProduct(u), 0.0, sweep);
    }
    flush();
    if (count == 1)
        m_target.path(out, false, planeNormal(normal));
}

void TransformedDraw::polygon(std::span<const OdGePoint3d> corners, bool filled)
{
    std::vector<OdGePoint3d> out;
    out.reserve(corners.size());
    for (const OdGePoint3d& p : corners)
        out.push_back(point(p));
    m_target.polygon(out, filled);
}

void TransformedDraw::circularArc(const OdGePoint3d& center, double radius, const OdGeVector3d& normal,
                                  const OdGeVector3d& startVector, double sweepAngle)
{
    const OdGeVector3d n = unitOr(normal, OdGeVector3d::kZAxis);
    const OdGeVector3d u = unitOr(startVector, n.perpVector()) * radius;
    const OdGeVector3d v = n.crossProduct(u);
    const OdGeVector3d a = vector(u), b = vector(v);
    if (keepsCircles(a, b)) {
        m_target.circularArc(point(center), a.length(), unitOr(a.crossProduct(b), OdGeVector3d::kZAxis), a, sweepAngle);
        return;
    }
    conjugateArc(center, u, v, 0.0, sweepAngle);
}

void TransformedDraw::ellipticArc(const OdGePoint3d& center, const OdGeVector3d& majorAxis,
                                  const OdGeVector3d& minorAxis, double startAngle, double endAngle)
{
    conjugateArc(center, majorAxis, minorAxis, startAngle, endAngle);
}

void TransformedDraw::region(std::span<const std::vector<OdGePoint3d>> loops)
{
    std::vector<std::vector<OdGePoint3d>> out;
    out.reserve(loops.size());
    for (const std::vector<OdGePoint3d>& loop : loops) {
        std::vector<OdGePoint3d>& moved = out.emplace_back();
        moved.reserve(loop.size());
        for (const OdGePoint3d& p : loop)
            moved.push_back(point(p));
    }
    m_target.region(out);
}

void TransformedDraw::text(const TextRun& run)
{
    // The glyphs' box carried over: its height along up, its width along advance; an unequal
    // stretch shows as another width factor.
    TextRun out = run;
    const OdGeVector3d along = vector(run.advance), up = vector(run.up);
    const double la = along.length(), lu = up.length();
    out.origin = point(run.origin);
    out.advance = unitOr(along, OdGeVector3d::kXAxis);
    out.up = unitOr(up, OdGeVector3d::kYAxis);
    out.height = run.height * lu;
    out.width = run.width * la;
    if (lu > 0.0)
        out.widthFactor = run.widthFactor * la / lu;
    m_target.text(out);
}

void TransformedDraw::marker(const OdGePoint3d& position, MarkerKind kind, double size)
{
    m_target.marker(point(position), kind, size > 0.0 ? size * m_scale : size);
}

void TransformedDraw::markerPolyline(const OdGePoint3d& position, std::span<const OdGeVector3d> offsets, double size)
{
    // The symbol turns with the block; its size is the marker size, scaled like a marker.
    std::vector<OdGeVector3d> turned;
    for (const OdGeVector3d& o : offsets)
        turned.push_back(vector(o) / m_scale);
    m_target.markerPolyline(point(position), turned, size > 0.0 ? size * m_scale : size);
}

namespace {

// The entities of a block in draw order.
std::vector<OdDbObjectId> drawOrder(OdDbObjectId block)
{
    OdDbBlockTableRecordPtr btr = OdDbBlockTableRecord::cast(block.openObject().get());
    if (!btr)
        return {};
    if (OdDbSortentsTablePtr sortents = btr->getSortentsTable(false))
        return sortents->drawOrder();
    return btr->entityIds();
}

// One entity inside a block: hidden ones and attribute definitions that are not constant are
// left out; a constant one shows its value as every insert has it.
void drawMember(BlockDraw& bd, const OdDbEntity& entity)
{
    if (entity.visibility() == OdDb::kInvisible)
        return;
    if (!layerShown(resolveProps(entity, &bd.props()).layer))
        return;
    if (const OdDbAttributeDefinition* def = OdDbAttributeDefinition::cast(&entity).get()) {
        if (def->isConstant())
            def->drawValue(bd);
        return;
    }
    entity.draw(bd);
}

} // namespace

bool drawBlock(WorldDraw& wd, OdDbObjectId block, std::size_t count,
               const std::function<OdGeMatrix3d(std::size_t)>& placement, const OdDbEntity& reference)
{
    const BlockDraw* outer = dynamic_cast<const BlockDraw*>(&wd);
    BlockNest own;
    BlockNest& nest = outer ? outer->nest() : own;
    if (block.isNull() || std::find(nest.blocks.begin(), nest.blocks.end(), block) != nest.blocks.end()
        || nest.blocks.size() >= BlockNest::kMaxDepth)
        return false;
    WorldDraw& target = outer ? outer->target() : wd;
    const OdGeMatrix3d base = outer ? outer->transform() : OdGeMatrix3d::kIdentity;
    const ResolvedProps props = resolveProps(reference, outer ? &outer->props() : nullptr);
    const std::vector<OdDbObjectId> order = drawOrder(block);
    nest.blocks.push_back(block);
    for (std::size_t i = 0; i < count && nest.drawsLeft > 0; ++i) {
        --nest.drawsLeft;
        BlockDraw bd(target, base * placement(i), props, nest);
        for (OdDbObjectId id : order) {
            if (nest.drawsLeft == 0)
                break;
            --nest.drawsLeft;
            OdDbEntityPtr entity = OdDbEntity::cast(id.openObject().get());
            if (entity)
                drawMember(bd, *entity);
        }
    }
    nest.blocks.pop_back();
    return nest.drawsLeft > 0;
}

void drawOwned(WorldDraw& wd, std::span<const OdDbEntity* const> entities, const OdDbEntity& reference)
{
    const BlockDraw* outer = dynamic_cast<const BlockDraw*>(&wd);
    BlockNest own;
    BlockDraw bd(outer ? outer->target() : wd, outer ? outer->transform() : OdGeMatrix3d::kIdentity,
                 resolveProps(reference, outer ? &outer->props() : nullptr), outer ? outer->nest() : own);
    for (const OdDbEntity* entity : entities)
        drawMember(bd, *entity);
}

} // namespace vantrel
