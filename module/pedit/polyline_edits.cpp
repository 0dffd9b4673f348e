// Closing and opening, fitting, splining and decurving polylines of the drawing; a kind change
// hands the old polyline's identity (id, handle, extended data) over to the new one.
#include "pedit/polyline_edits.h"

#include <cmath>
#include <numbers>
#include <vector>

#include <vantrel/db/OdDbTables.h>
#include <vantrel/ge/OdGeCircArc2d.h>

#include "frame/AlpCmdUtils.h"

namespace vantrel::pedit {

namespace {

// A bulge within this of 0 is a straight segment.
constexpr double kStraight = 1e-10;

OdDb::Poly3dType poly3dType(bool quadratic) { return quadratic ? OdDb::k3dQuadSplinePoly : OdDb::k3dCubicSplinePoly; }
OdDb::Poly2dType poly2dType(bool quadratic) { return quadratic ? OdDb::k2dQuadSplinePoly : OdDb::k2dCubicSplinePoly; }

bool isDefiningVertex(OdDb::Vertex2dType type) { return type == OdDb::k2dVertex || type == OdDb::k2dSplineCtlVertex; }
bool isDefiningVertex(OdDb::Vertex3dType type) { return type != OdDb::k3dFitVertex; }

// Indices of the vertices that begin a zero-length segment (the closing one too when closed).
template <class PointAt>
std::vector<unsigned> zeroLengthStarts(unsigned count, bool closed, PointAt pointAt)
{
    std::vector<unsigned> starts;
    const unsigned segments = closed ? count : (count == 0 ? 0 : count - 1);
    for (unsigned i = 0; i < segments; ++i)
        if (pointAt(i).isEqualTo(pointAt((i + 1) % count)))
            starts.push_back(i);
    return starts;
}

std::vector<OdGePoint2d> positions2d(const OdDb2dPolyline& polyline)
{
    std::vector<OdGePoint2d> points;
    for (auto it = polyline.vertexIterator(); !it->done(); it->step()) {
        const OdGePoint3d p = OdDb2dVertexPtr(it->vertex())->position();
        points.emplace_back(p.x, p.y);
    }
    return points;
}

// Closing and opening a 2D or 3D polyline; a fitted one is fitted again afterwards.
template <class Polyline>
void closeOrOpenRefitted(Polyline& polyline, bool open, std::int16_t splineSegments)
{
    if (polyline.isClosed() != open)
        return;
    const PathFit fit = unfit(polyline);
    if (open)
        polyline.makeOpen();
    else
        polyline.makeClosed();
    refit(polyline, fit, splineSegments);
}

} // namespace

unsigned definingVertexCount(const OdDbCurve& polyline)
{
    if (auto lw = OdDbPolyline::cast(&polyline))
        return lw->numVerts();
    unsigned count = 0;
    if (auto pl = OdDb2dPolyline::cast(&polyline)) {
        for (auto it = pl->vertexIterator(); !it->done(); it->step())
            count += isDefiningVertex(OdDb2dVertexPtr(it->vertex())->vertexType()) ? 1u : 0u;
    } else if (auto pl3 = OdDb3dPolyline::cast(&polyline)) {
        for (auto it = pl3->vertexIterator(); !it->done(); it->step())
            count += isDefiningVertex(OdDb3dPolylineVertexPtr(it->vertex())->vertexType()) ? 1u : 0u;
    }
    return count;
}

PathFit unfit(OdDbCurve& polyline)
{
    PathFit fit;
    if (auto pl = OdDb2dPolyline::cast(&polyline)) {
        fit.type2d = pl->polyType();
        if (fit.type2d == OdDb::k2dSimplePoly)
            return fit;
        fit.kind = fit.type2d == OdDb::k2dFitCurvePoly ? PathFit::Kind::Curve : PathFit::Kind::Spline2d;
        pl->straighten();
    } else if (auto pl3 = OdDb3dPolyline::cast(&polyline)) {
        fit.type3d = pl3->polyType();
        if (fit.type3d == OdDb::k3dSimplePoly)
            return fit;
        fit.kind = PathFit::Kind::Spline3d;
        pl3->straighten();
    }
    return fit;
}

void refit(OdDbCurve& polyline, const PathFit& fit, std::int16_t splineSegments)
{
    switch (fit.kind) {
    case PathFit::Kind::None: return;
    case PathFit::Kind::Spline2d: static_cast<OdDb2dPolyline&>(polyline).splineFit(fit.type2d, splineSegments); return;
    case PathFit::Kind::Spline3d: static_cast<OdDb3dPolyline&>(polyline).splineFit(fit.type3d, splineSegments); return;
    case PathFit::Kind::Curve: {
        auto& pl = static_cast<OdDb2dPolyline&>(polyline);
        const std::vector<OdGePoint2d> points = positions2d(pl);
        const auto drop = zeroLengthStarts(static_cast<unsigned>(points.size()), pl.isClosed(),
                                           [&](unsigned i) { return points[i]; });
        for (auto i = drop.rbegin(); i != drop.rend(); ++i)
            pl.removeVertexAt(*i);
        pl.curveFit();
        return;
    }
    }
}

std::optional<double> tangentClosingBulge(const OdDbPolyline& polyline)
{
    const unsigned n = polyline.numVerts();
    if (n < 2 || polyline.segType(n - 2) != OdDbPolyline::kArc)
        return std::nullopt;
    OdGePoint2d before, last, first;
    polyline.getPointAt(n - 2, before);
    polyline.getPointAt(n - 1, last);
    polyline.getPointAt(0, first);
    // The last arc arrives turned from its chord by half its sweep, 2 atan(bulge).
    const OdGeVector2d chord = last - before;
    const double arrival = std::atan2(chord.y, chord.x) + 2.0 * std::atan(polyline.getBulgeAt(n - 2));
    const OdGeVector2d closing = first - last;
    // An arc leaving along the tangent turns from it by half its sweep to reach its end: the
    // closing chord's turn t from the tangent gives the bulge tan(t / 2). Vertex 0 on the
    // tangent line leaves no arc to take: the closing segment is straight then.
    const double turn = std::remainder(std::atan2(closing.y, closing.x) - arrival, 2.0 * std::numbers::pi);
    if (std::fabs(std::fabs(turn) - std::numbers::pi) < 1e-12)
        return 0.0;
    return std::tan(0.5 * turn);
}

void closeOrOpen(OdDbPolyline& polyline, bool open)
{
    if (open) {
        if (polyline.isClosed())
            polyline.setClosed(false);
        return;
    }
    const unsigned n = polyline.numVerts();
    if (polyline.isClosed() || n < 2)
        return;
    const unsigned last = n - 1;
    OdGePoint2d first, end;
    polyline.getPointAt(0, first);
    polyline.getPointAt(last, end);
    if (end.isEqualTo(first)) {
        polyline.setClosed(true);
        return;
    }
    switch (polyline.segType(last - 1)) {
    case OdDbPolyline::kLine: polyline.setClosed(true); return;
    case OdDbPolyline::kArc:
        if (std::fabs(polyline.getBulgeAt(last)) > kStraight) {
            polyline.setClosed(true);
        } else if (const std::optional<double> bulge = tangentClosingBulge(polyline)) {
            polyline.setClosed(true);
            polyline.setBulgeAt(last, *bulge);
        }
        return;
    default:
        // A zero-length last segment gives no direction to close along.
        return;
    }
}

void closeOrOpen(OdDb2dPolyline& polyline, bool open, std::int16_t splineSegments)
{
    closeOrOpenRefitted(polyline, open, splineSegments);
}

void closeOrOpen(OdDb3dPolyline& polyline, bool open, std::int16_t splineSegments)
{
    closeOrOpenRefitted(polyline, open, splineSegments);
}

void regenerate(OdDbObjectId id)
{
    const OdDbEntityPtr entity = id.safeOpenObject(OdDb::kForWrite);
    const OdDbEntityPtr copy = entity->clone();
    entity->handOverTo(copy.get(), true, true);
    AlpCmdUtils::touchEntity(copy);
}

bool onLockedLayer(const OdDbEntity& entity)
{
    const OdDbLayerTableRecordPtr layer = OdDbLayerTableRecord::cast(entity.layerId().openObject().get());
    return layer && layer->isLocked();
}

OdDb2dPolylinePtr toPolyline2d(OdDbDatabase& db, OdDbPolyline& polyline)
{
    OdDb2dPolylinePtr result = OdDb2dPolyline::createObject();
    result->setDatabaseDefaults(&db);
    if (const OdResult r = polyline.convertTo(result.get(), false); r != eOk)
        throw OdError(r, "the polyline could not be made a 2D polyline");
    return result;
}

OdDbPolylinePtr toLightweight(OdDbDatabase& db, const OdDb2dPolyline& polyline)
{
    if (polyline.numVertices() == 0)
        return OdDbPolylinePtr();
    OdDb2dPolylinePtr source = OdDb2dPolylinePtr(polyline.clone());
    if (source->polyType() != OdDb::k2dSimplePoly)
        source->straighten();
    OdDbPolylinePtr result = OdDbPolyline::createObject();
    result->setDatabaseDefaults(&db);
    if (const OdResult r = result->convertFrom(source.get(), false); r != eOk)
        throw OdError(r, "the 2D polyline could not be made a lightweight polyline");
    return result;
}

bool fitCurve(OdDbDatabase& db, OdDbObjectId id)
{
    const OdDbEntityPtr entity = id.safeOpenObject(OdDb::kForWrite);
    if (auto pl = OdDb2dPolyline::cast(entity.get())) {
        if (pl->polyType() == OdDb::k2dFitCurvePoly)
            return false;
        if (definingVertexCount(*pl) == 2 && std::fabs(pl->vertexAt(0)->bulge()) <= kStraight)
            return false;
        pl->curveFit();
        return true;
    }
    OdDbPolylinePtr lw = OdDbPolyline::cast(entity.get());
    if (!lw || (lw->isOnlyLines() && lw->numVerts() == 2) || onLockedLayer(*lw))
        return false;
    const auto drop = zeroLengthStarts(lw->numVerts(), lw->isClosed(), [&](unsigned i) {
        OdGePoint2d p;
        lw->getPointAt(i, p);
        return p;
    });
    if (lw->numVerts() - drop.size() < 2)
        return false;
    if (!drop.empty()) {
        const std::vector<OdDbPolyline::Vertex>& vertices = lw->data().vertices;
        std::vector<OdDbPolyline::Vertex> kept;
        kept.reserve(vertices.size() - drop.size());
        std::size_t next = 0;
        for (unsigned i = 0; i < vertices.size(); ++i) {
            if (next < drop.size() && drop[next] == i)
                ++next;
            else
                kept.push_back(vertices[i]);
        }
        lw->setVertices(std::move(kept), lw->getConstantWidth());
    }
    OdDb2dPolylinePtr fitted = toPolyline2d(db, *lw);
    lw->handOverTo(fitted.get(), true, true);
    fitted->curveFit();
    return true;
}

bool fitSpline(OdDbDatabase& db, OdDbObjectId id, bool quadratic, std::int16_t segments)
{
    const OdDbEntityPtr entity = id.safeOpenObject(OdDb::kForWrite);
    if (auto pl = OdDb2dPolyline::cast(entity.get())) {
        pl->splineFit(poly2dType(quadratic), segments);
        return true;
    }
    if (auto pl3 = OdDb3dPolyline::cast(entity.get())) {
        pl3->splineFit(poly3dType(quadratic), segments);
        return true;
    }
    OdDbPolylinePtr lw = OdDbPolyline::cast(entity.get());
    if (!lw || onLockedLayer(*lw))
        return false;
    // Fitted before the hand-over, so that a polyline that cannot take a spline stays as it is.
    OdDb2dPolylinePtr splined = toPolyline2d(db, *lw);
    splined->splineFit(poly2dType(quadratic), segments);
    lw->handOverTo(splined.get(), true, true);
    return true;
}

bool decurve(OdDbDatabase& db, OdDbObjectId id)
{
    const OdDbEntityPtr entity = id.safeOpenObject(OdDb::kForWrite);
    if (auto lw = OdDbPolyline::cast(entity.get())) {
        if (!lw->hasBulges())
            return false;
        for (unsigned i = 0; i < lw->numVerts(); ++i)
            lw->setBulgeAt(i, 0.0);
        return true;
    }
    if (auto pl3 = OdDb3dPolyline::cast(entity.get())) {
        pl3->straighten();
        return true;
    }
    OdDb2dPolylinePtr pl = OdDb2dPolyline::cast(entity.get());
    if (!pl)
        return false;
    OdDbPolylinePtr straight = toLightweight(db, *pl);
    if (!straight)
        return false;
    for (unsigned i = 0; i < straight->numVerts(); ++i)
        straight->setBulgeAt(i, 0.0);
    pl->handOverTo(straight.get(), true, true);
    return true;
}

} // namespace vantrel::pedit
