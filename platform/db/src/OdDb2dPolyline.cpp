// 2D polyline: its vertex objects, curve and spline fitting, curve queries over the drawn path,
// transformation and display.
#include <vantrel/db/OdDb2dPolyline.h>
#include <vantrel/db/OdDbDatabase.h>

#include <algorithm>
#include <cmath>
#include <optional>

#include "PlanarTransform.h"
#include "SegmentPath.h"
#include "entity_math.h"
#include "path_queries.h"
#include "poly_fit.h"
#include "vertex_lists.h"
#include "db_key.h"

using namespace vantrel::entmath;
namespace vl = vantrel::vertexlist;

ODRX_DEFINE_MEMBERS(OdDb2dPolyline, OdDbCurve, "POLYLINE")

namespace {

bool isGenerated(OdDb::Vertex2dType t) { return t == OdDb::k2dCurveFitVertex || t == OdDb::k2dSplineFitVertex; }

OdGePoint2d xy(const OdGePoint3d& p) { return {p.x, p.y}; }

// The unit direction of a tangent in the plane; the chord's where the tangent vanishes.
OdGeVector2d planarDirection(const OdGeVector3d& tangent, const OdGeVector2d& chord)
{
    const OdGeVector2d t(tangent.x, tangent.y);
    if (!t.isZeroLength())
        return t.normal();
    return chord.isZeroLength() ? OdGeVector2d(1.0, 0.0) : chord.normal();
}

OdDb2dVertexPtr generatedVertex(const OdGePoint2d& at, OdDb::Vertex2dType type, double bulge, double startWidth,
                                double endWidth)
{
    OdDb2dVertexPtr v = OdDb2dVertex::createObject();
    OdDb2dVertex::Data& d = v->dataForWrite(vantrel::dbKey());
    d.position = OdGePoint3d(at.x, at.y, 0.0);
    d.vertexType = type;
    d.bulge = bulge;
    d.startWidth = startWidth;
    d.endWidth = endWidth;
    return v;
}

vantrel::SegmentPath pathOf(const OdDb2dPolyline& pl)
{
    std::vector<OdGePoint2d> points;
    std::vector<double> bulges;
    for (const auto& v : pl.pathVertices()) {
        points.push_back(xy(v->data().position));
        bulges.push_back(v->data().bulge);
    }
    const auto& d = pl.data();
    return vantrel::SegmentPath::fromBulges(points, bulges, d.closed, d.normal, d.elevation);
}

} // namespace

void OdDb2dPolyline::setPolyType(OdDb::Poly2dType type)
{
    if (type < OdDb::k2dSimplePoly || type > OdDb::k2dCubicSplinePoly)
        throw OdError(eInvalidInput, "unknown 2D polyline type");
    assertWriteEnabled();
    m_data.polyType = type;
}

void OdDb2dPolyline::makeOpen()
{
    assertWriteEnabled();
    m_data.closed = false;
}

void OdDb2dPolyline::makeClosed()
{
    assertWriteEnabled();
    m_data.closed = true;
}

void OdDb2dPolyline::setLinetypeGenerationOn()
{
    assertWriteEnabled();
    m_data.linetypeGen = true;
}

void OdDb2dPolyline::setLinetypeGenerationOff()
{
    assertWriteEnabled();
    m_data.linetypeGen = false;
}

void OdDb2dPolyline::setDefaultStartWidth(double width)
{
    requireWidth(width);
    assertWriteEnabled();
    m_data.defaultStartWidth = width;
}

void OdDb2dPolyline::setDefaultEndWidth(double width)
{
    requireWidth(width);
    assertWriteEnabled();
    m_data.defaultEndWidth = width;
}

void OdDb2dPolyline::setElevation(double elevation)
{
    requireFinite(elevation, "an elevation");
    assertWriteEnabled();
    m_data.elevation = elevation;
}

void OdDb2dPolyline::setNormal(const OdGeVector3d& normal)
{
    const OdGeVector3d n = unitNormal(normal);
    assertWriteEnabled();
    m_data.normal = n;
}

void OdDb2dPolyline::setThickness(double thickness)
{
    requireFinite(thickness, "a thickness");
    assertWriteEnabled();
    m_data.thickness = thickness;
}

// --- vertices ---

OdDbObjectId OdDb2dPolyline::insertAtPosition(std::size_t pos, OdDb2dVertex* vertex)
{
    vl::checkAdoptable(*this, vertex);
    assertWriteEnabled();
    return vl::adopt(*this, m_vertices, pos, vertex);
}

std::size_t OdDb2dPolyline::positionAfter(const OdDb2dVertex* after) const
{
    return vl::positionAfter(m_vertices, after);
}

OdDbObjectId OdDb2dPolyline::appendVertex(OdDb2dVertex* vertex) { return insertAtPosition(m_vertices.size(), vertex); }

OdDbObjectId OdDb2dPolyline::insertVertexAt(const OdDbObjectId& afterId, OdDb2dVertex* vertex)
{
    return insertVertexAt(vl::findById(m_vertices, afterId), vertex);
}

OdDbObjectId OdDb2dPolyline::insertVertexAt(const OdDb2dVertex* after, OdDb2dVertex* vertex)
{
    return insertAtPosition(positionAfter(after), vertex);
}

void OdDb2dPolyline::removeVertexAt(unsigned int index)
{
    const std::size_t pos = vl::positionOf(m_vertices, index);
    assertWriteEnabled();
    vl::remove(m_vertices, pos);
}

unsigned int OdDb2dPolyline::numVertices() const
{
    assertReadEnabled();
    return static_cast<unsigned int>(vl::livePositions(m_vertices).size());
}

OdDb2dVertexPtr OdDb2dPolyline::vertexAt(unsigned int index, OdDb::OpenMode mode) const
{
    assertReadEnabled();
    return vl::open(m_vertices[vl::positionOf(m_vertices, index)].get(), mode);
}

OdDb2dVertexPtr OdDb2dPolyline::openVertex(const OdDbObjectId& id, OdDb::OpenMode mode, bool openErased) const
{
    assertReadEnabled();
    return vl::openMember(m_vertices, id, mode, openErased, "not a vertex of this polyline");
}

OdDbVertexIteratorPtr OdDb2dPolyline::vertexIterator() const
{
    assertReadEnabled();
    return vl::iterator(m_vertices);
}

std::vector<OdDbObjectId> OdDb2dPolyline::vertexIds() const
{
    assertReadEnabled();
    return vl::liveIds(m_vertices);
}

std::vector<OdDb2dVertexPtr> OdDb2dPolyline::pathVertices() const
{
    assertReadEnabled();
    return vl::pathOrFrame(m_vertices,
                           [](const OdDb2dVertex* v) { return v->vertexType() == OdDb::k2dSplineCtlVertex; });
}

OdGePoint3d OdDb2dPolyline::vertexPosition(const OdDb2dVertex& vertex) const
{
    assertReadEnabled();
    const OdGePoint3d p = vertex.position();
    return toWorld(m_data.normal, OdGePoint3d(p.x, p.y, m_data.elevation));
}

// --- fitting ---

std::size_t OdDb2dPolyline::countDefining() const
{
    return vl::countLive(m_vertices, [](const OdDb2dVertex* v) { return !isGenerated(v->vertexType()); });
}

std::vector<OdDb2dVertexPtr> OdDb2dPolyline::dropGenerated()
{
    vl::removeLive(m_vertices, [](const OdDb2dVertex* v) { return isGenerated(v->vertexType()); });
    return vl::openLive(m_vertices, OdDb::kForWrite);
}

void OdDb2dPolyline::straighten()
{
    assertWriteEnabled();
    for (const OdDb2dVertexPtr& v : dropGenerated()) {
        if (v->vertexType() != OdDb::k2dVertex)
            v->setVertexType(OdDb::k2dVertex);
        if (v->bulge() != 0.0)
            v->setBulge(0.0);
    }
    m_data.polyType = OdDb::k2dSimplePoly;
}

void OdDb2dPolyline::curveFit()
{
    assertReadEnabled();
    if (countDefining() < 2)
        throw OdError(eDegenerateGeometry, "fitting a curve needs at least two vertices");
    assertWriteEnabled();
    const std::vector<OdDb2dVertexPtr> def = dropGenerated();
    const std::size_t n = def.size();
    std::vector<OdGePoint2d> points;
    std::vector<std::optional<OdGeVector2d>> given;
    for (const auto& v : def) {
        points.push_back(xy(v->position()));
        if (v->isTangentUsed())
            given.emplace_back(OdGeVector2d(std::cos(v->tangent()), std::sin(v->tangent())));
        else
            given.emplace_back();
        if (v->vertexType() != OdDb::k2dVertex)
            v->setVertexType(OdDb::k2dVertex);
    }
    const auto tangents = vantrel::polyfit::vertexTangents(points, m_data.closed, given);
    // The generated vertex after each defining one, where its segment has one.
    std::vector<OdDb2dVertexPtr> junctions(n);
    const std::size_t segments = m_data.closed ? n : n - 1;
    for (std::size_t i = 0; i < segments; ++i) {
        const std::size_t j = (i + 1) % n;
        if (points[i].isEqualTo(points[j])) {
            def[i]->setBulge(0.0);
            continue;
        }
        const auto arcs = vantrel::polyfit::biarc(points[i], tangents[i], points[j], tangents[j]);
        def[i]->setBulge(arcs.bulge1);
        // The generated vertex carries the segment's end width onwards, so that straightening
        // gives the vertex its segment back unchanged.
        junctions[i] = generatedVertex(arcs.junction, OdDb::k2dCurveFitVertex, arcs.bulge2, def[i]->endWidth(),
                                       def[i]->endWidth());
    }
    if (!m_data.closed && def.back()->bulge() != 0.0)
        def.back()->setBulge(0.0);
    vl::List<OdDb2dVertex> next;
    next.reserve(m_vertices.size() + n);
    std::size_t i = 0;
    for (const auto& v : m_vertices) {
        next.push_back(v);
        if (v->isErased())
            continue;
        if (const OdDb2dVertexPtr& junction = junctions[i++])
            next.emplace_back(junction);
    }
    vl::replaceAll(*this, m_vertices, std::move(next));
    m_data.polyType = OdDb::k2dFitCurvePoly;
}

void OdDb2dPolyline::splineFit(OdDb::Poly2dType type, std::int16_t segments)
{
    if (type != OdDb::k2dQuadSplinePoly && type != OdDb::k2dCubicSplinePoly)
        throw OdError(eInvalidInput, "a spline fit is quadratic or cubic");
    assertReadEnabled();
    if (countDefining() < 2)
        throw OdError(eDegenerateGeometry, "fitting a spline needs at least two vertices");
    assertWriteEnabled();
    const std::vector<OdDb2dVertexPtr> def = dropGenerated();
    std::vector<OdGePoint3d> control;
    for (const auto& v : def) {
        control.emplace_back(v->position().x, v->position().y, 0.0);
        if (v->vertexType() != OdDb::k2dSplineCtlVertex)
            v->setVertexType(OdDb::k2dSplineCtlVertex);
        // The frame is straight: an arc it had (from a fit curve) is not its shape any more.
        if (v->bulge() != 0.0)
            v->setBulge(0.0);
    }
    const int perSpan = std::max(1, std::abs(static_cast<int>(segments)));
    const auto samples
        = vantrel::polyfit::sampleSpline(control, type == OdDb::k2dQuadSplinePoly ? 2 : 3, m_data.closed, perSpan);
    // Widths follow the frame: parameter 0..1 spread evenly over its segments.
    const std::size_t frameSegs = m_data.closed ? def.size() : def.size() - 1;
    auto widthAt = [&](double u) {
        const double t = std::clamp(u, 0.0, 1.0) * static_cast<double>(frameSegs);
        const std::size_t i = std::min(static_cast<std::size_t>(t), frameSegs - 1);
        const double f = t - static_cast<double>(i);
        return def[i]->startWidth() * (1.0 - f) + def[i]->endWidth() * f;
    };
    // The path first, then the frame. With negative segments every generated segment is
    // curve-fitted as well: two arcs tangent to the spline at its ends, meeting at a curve-fit
    // vertex.
    const std::size_t count = samples.points.size();
    vl::List<OdDb2dVertex> next;
    next.reserve(2 * count + m_vertices.size());
    for (std::size_t k = 0; k < count; ++k) {
        const bool last = k + 1 == count;
        const std::size_t following = last ? 0 : k + 1;
        const double u = samples.params[k];
        const double uNext = last ? (m_data.closed ? 1.0 : u) : samples.params[following];
        const OdGePoint2d a = xy(samples.points[k]);
        if (segments >= 0 || (last && !m_data.closed)) {
            next.emplace_back(generatedVertex(a, OdDb::k2dSplineFitVertex, 0.0, widthAt(u), widthAt(uNext)));
            continue;
        }
        const OdGePoint2d b = xy(samples.points[following]);
        const auto arcs = vantrel::polyfit::biarc(a, planarDirection(samples.tangents[k], b - a), b,
                                                  planarDirection(samples.tangents[following], b - a));
        const double uMid = 0.5 * (u + uNext);
        next.emplace_back(generatedVertex(a, OdDb::k2dSplineFitVertex, arcs.bulge1, widthAt(u), widthAt(uMid)));
        next.emplace_back(
            generatedVertex(arcs.junction, OdDb::k2dCurveFitVertex, arcs.bulge2, widthAt(uMid), widthAt(uNext)));
    }
    for (const auto& v : m_vertices)
        next.push_back(v);
    vl::replaceAll(*this, m_vertices, std::move(next));
    m_data.polyType = type;
}

void OdDb2dPolyline::splineFit()
{
    const auto settings = vantrel::polyfit::splineFitSettings(database());
    splineFit(settings.quadratic ? OdDb::k2dQuadSplinePoly : OdDb::k2dCubicSplinePoly, settings.segments);
}

// --- curve ---

OdResult OdDb2dPolyline::getStartParam(double& param) const
{
    return vantrel::pathquery::startParam(pathOf(*this), param);
}

OdResult OdDb2dPolyline::getEndParam(double& param) const { return vantrel::pathquery::endParam(pathOf(*this), param); }

OdResult OdDb2dPolyline::getPointAtParam(double param, OdGePoint3d& point) const
{
    return vantrel::pathquery::pointAtParam(pathOf(*this), param, point);
}

OdResult OdDb2dPolyline::getParamAtPoint(const OdGePoint3d& point, double& param) const
{
    return vantrel::pathquery::paramAtPoint(pathOf(*this), point, param);
}

OdResult OdDb2dPolyline::getDistAtParam(double param, double& dist) const
{
    return vantrel::pathquery::distAtParam(pathOf(*this), param, dist);
}

OdResult OdDb2dPolyline::getParamAtDist(double dist, double& param) const
{
    return vantrel::pathquery::paramAtDist(pathOf(*this), dist, param);
}

OdResult OdDb2dPolyline::getPointsAtDists(std::span<const double> dists, std::vector<OdGePoint3d>& points) const
{
    return vantrel::pathquery::pointsAtDists(pathOf(*this), dists, points);
}

OdResult OdDb2dPolyline::getFirstDeriv(double param, OdGeVector3d& deriv) const
{
    return vantrel::pathquery::firstDeriv(pathOf(*this), param, deriv);
}

OdResult OdDb2dPolyline::getSecondDeriv(double param, OdGeVector3d& deriv) const
{
    return vantrel::pathquery::secondDeriv(pathOf(*this), param, deriv);
}

OdResult OdDb2dPolyline::getClosestPointTo(const OdGePoint3d& given, OdGePoint3d& closest, bool extend) const
{
    return vantrel::pathquery::closestPoint(pathOf(*this), given, closest, extend);
}

OdResult OdDb2dPolyline::getPlane(OdGePlane& plane) const
{
    assertReadEnabled();
    plane = OdGePlane(toWorld(m_data.normal, OdGePoint3d(0.0, 0.0, m_data.elevation)), m_data.normal);
    return eOk;
}

void OdDb2dPolyline::transformBy(const OdGeMatrix3d& xform)
{
    const vantrel::PlanarTransform t(xform, m_data.normal, m_data.elevation);
    const auto live = vl::live(m_vertices);
    if (!t.isSimilarity() && std::any_of(live.begin(), live.end(), [](const OdDb2dVertex* v) {
            return v->bulge() != 0.0 || v->startWidth() != 0.0 || v->endWidth() != 0.0;
        }))
        throw OdError(eInvalidInput, "a polyline with arcs or widths cannot be scaled non-uniformly");
    assertWriteEnabled();
    for (OdDb2dVertex* raw : live) {
        OdDb2dVertexPtr v = vl::open(raw, OdDb::kForWrite);
        OdDb2dVertex::Data& d = v->dataForWrite(vantrel::dbKey());
        const OdGePoint2d p = t.point(xy(d.position));
        d.position = OdGePoint3d(p.x, p.y, d.position.z);
        d.bulge = t.bulge(d.bulge);
        d.startWidth *= t.scale();
        d.endWidth *= t.scale();
        d.tangent = t.angle(d.tangent);
    }
    m_data.defaultStartWidth *= t.scale();
    m_data.defaultEndWidth *= t.scale();
    m_data.thickness *= t.normalScale();
    m_data.normal = t.newNormal();
    m_data.elevation = t.newElevation();
}

void OdDb2dPolyline::subWorldDraw(vantrel::WorldDraw& wd) const
{
    std::vector<vantrel::PathVertex> path;
    for (const auto& v : pathVertices()) {
        vantrel::PathVertex pv;
        pv.point = vertexPosition(*v);
        pv.bulge = v->bulge();
        pv.startWidth = v->startWidth();
        pv.endWidth = v->endWidth();
        path.push_back(pv);
    }
    if (!path.empty())
        wd.path(path, m_data.closed, m_data.normal);
}

void OdDb2dPolyline::subAddedToDatabase(OdDbDatabase* db) { vl::addAll(m_vertices, db, *this); }

void OdDb2dPolyline::subDeepenClone()
{
    vl::deepen(m_vertices);
    // The copy is a new record: its SEQEND gets a handle of its own when it is saved.
    m_data.seqEndHandle = OdDbHandle();
}

void OdDb2dPolyline::subHandOverTo(OdDbObject*) { vl::eraseResident(m_vertices); }

void OdDb2dPolyline::subSetCommon(const CommonData& common) { vl::setCommon(m_vertices, common); }
