// Lightweight polyline: vertex editing, segments, exact curve queries over lines and arcs,
// transformation, display and the exchange with 2D polylines.
#include <vantrel/db/OdDb2dPolyline.h>
#include <vantrel/db/OdDbPolyline.h>

#include <algorithm>
#include <cmath>

#include "PlanarTransform.h"
#include "SegmentPath.h"
#include "path_queries.h"
#include "entity_math.h"
#include "db_key.h"

using namespace vantrel::entmath;

ODRX_DEFINE_MEMBERS(OdDbPolyline, OdDbCurve, "LWPOLYLINE")

namespace {

vantrel::SegmentPath pathOf(const OdDbPolyline::Data& d)
{
    std::vector<OdGePoint2d> points;
    std::vector<double> bulges;
    for (const auto& v : d.vertices) {
        points.push_back(v.point);
        bulges.push_back(v.bulge);
    }
    return vantrel::SegmentPath::fromBulges(points, bulges, d.closed, d.normal, d.elevation);
}

} // namespace

void OdDbPolyline::checkIndex(unsigned int index) const
{
    if (index >= m_data.vertices.size())
        throw OdError_InvalidIndex();
}

const OdDbPolyline::Vertex& OdDbPolyline::vertexAt(unsigned int index) const
{
    assertReadEnabled();
    checkIndex(index);
    return m_data.vertices[index];
}

void OdDbPolyline::addVertexAt(unsigned int index, const OdGePoint2d& point, double bulge, double startWidth,
                               double endWidth, std::int32_t vertexIdentifier)
{
    if (index > m_data.vertices.size())
        throw OdError_InvalidIndex();
    requireFinite(point, "a vertex");
    requireFinite(bulge, "a bulge");
    requireFinite(startWidth, "a width");
    requireFinite(endWidth, "a width");
    assertWriteEnabled();
    Vertex v;
    v.point = point;
    v.bulge = bulge;
    v.startWidth = startWidth < 0.0 ? m_data.constantWidth : startWidth;
    v.endWidth = endWidth < 0.0 ? m_data.constantWidth : endWidth;
    v.identifier = vertexIdentifier;
    // A vertex with widths of its own ends the constant width, which the other vertices keep as
    // theirs (a file may give the constant width alone).
    if (m_data.constantWidth != 0.0 && (v.startWidth != m_data.constantWidth || v.endWidth != m_data.constantWidth)) {
        for (Vertex& other : m_data.vertices)
            other.startWidth = other.endWidth = m_data.constantWidth;
        m_data.constantWidth = 0.0;
    }
    m_data.vertices.insert(m_data.vertices.begin() + index, v);
}

void OdDbPolyline::removeVertexAt(unsigned int index)
{
    checkIndex(index);
    assertWriteEnabled();
    m_data.vertices.erase(m_data.vertices.begin() + index);
}

void OdDbPolyline::removeVerticesAt(unsigned int index, unsigned int count)
{
    if (index > m_data.vertices.size() || count > m_data.vertices.size() - index)
        throw OdError_InvalidIndex();
    assertWriteEnabled();
    const auto first = m_data.vertices.begin() + index;
    m_data.vertices.erase(first, first + count);
}

void OdDbPolyline::reserveVertices(unsigned int count)
{
    assertWriteEnabled();
    m_data.vertices.reserve(count);
}

void OdDbPolyline::setVertices(std::vector<Vertex> vertices, double constantWidth)
{
    requireWidth(constantWidth);
    for (const Vertex& v : vertices) {
        requireFinite(v.point, "a vertex");
        requireFinite(v.bulge, "a bulge");
        requireWidth(v.startWidth);
        requireWidth(v.endWidth);
    }
    assertWriteEnabled();
    m_data.vertices = std::move(vertices);
    m_data.constantWidth = constantWidth;
}

void OdDbPolyline::getPointAt(unsigned int index, OdGePoint2d& point) const { point = vertexAt(index).point; }

void OdDbPolyline::getPointAt(unsigned int index, OdGePoint3d& point) const
{
    point = worldPoint(vertexAt(index).point);
}

OdGePoint3d OdDbPolyline::worldPoint(const OdGePoint2d& p) const
{
    return toWorld(m_data.normal, OdGePoint3d(p.x, p.y, m_data.elevation));
}

void OdDbPolyline::setPointAt(unsigned int index, const OdGePoint2d& point)
{
    checkIndex(index);
    requireFinite(point, "a vertex");
    assertWriteEnabled();
    m_data.vertices[index].point = point;
}

double OdDbPolyline::getBulgeAt(unsigned int index) const { return vertexAt(index).bulge; }

void OdDbPolyline::setBulgeAt(unsigned int index, double bulge)
{
    checkIndex(index);
    requireFinite(bulge, "a bulge");
    assertWriteEnabled();
    m_data.vertices[index].bulge = bulge;
}

void OdDbPolyline::getWidthsAt(unsigned int index, double& startWidth, double& endWidth) const
{
    const Vertex& v = vertexAt(index);
    startWidth = shownWidth(v.startWidth);
    endWidth = shownWidth(v.endWidth);
}

void OdDbPolyline::setWidthsAt(unsigned int index, double startWidth, double endWidth)
{
    checkIndex(index);
    requireWidth(startWidth);
    requireWidth(endWidth);
    assertWriteEnabled();
    if (m_data.constantWidth != 0.0) {
        for (auto& v : m_data.vertices)
            v.startWidth = v.endWidth = m_data.constantWidth;
        m_data.constantWidth = 0.0;
    }
    m_data.vertices[index].startWidth = startWidth;
    m_data.vertices[index].endWidth = endWidth;
}

std::int32_t OdDbPolyline::getVertexIdentifierAt(unsigned int index) const { return vertexAt(index).identifier; }

void OdDbPolyline::setVertexIdentifierAt(unsigned int index, std::int32_t identifier)
{
    checkIndex(index);
    assertWriteEnabled();
    m_data.vertices[index].identifier = identifier;
}

void OdDbPolyline::setConstantWidth(double width)
{
    requireWidth(width);
    assertWriteEnabled();
    m_data.constantWidth = width;
    for (auto& v : m_data.vertices)
        v.startWidth = v.endWidth = width;
}

bool OdDbPolyline::hasWidth() const
{
    assertReadEnabled();
    if (m_data.constantWidth != 0.0)
        return true;
    return std::any_of(m_data.vertices.begin(), m_data.vertices.end(),
                       [](const Vertex& v) { return v.startWidth != 0.0 || v.endWidth != 0.0; });
}

bool OdDbPolyline::hasBulges() const
{
    assertReadEnabled();
    return std::any_of(m_data.vertices.begin(), m_data.vertices.end(), [](const Vertex& v) { return v.bulge != 0.0; });
}

bool OdDbPolyline::segmentEnd(unsigned int index, unsigned int& next) const
{
    const auto n = static_cast<unsigned int>(m_data.vertices.size());
    if (n < 2 || (index == n - 1 && !m_data.closed))
        return false;
    next = (index + 1) % n;
    return true;
}

OdDbPolyline::SegType OdDbPolyline::segType(unsigned int index) const
{
    assertReadEnabled();
    checkIndex(index);
    if (m_data.vertices.size() == 1)
        return kPoint;
    unsigned int next;
    if (!segmentEnd(index, next))
        return kEmpty;
    const Vertex& a = m_data.vertices[index];
    if (a.point.isEqualTo(m_data.vertices[next].point))
        return kCoincident;
    return a.bulge != 0.0 ? kArc : kLine;
}

void OdDbPolyline::getLineSegAt(unsigned int index, OdGeLineSeg2d& line) const
{
    const SegType type = segType(index);
    if (type != kLine && type != kCoincident)
        throw OdError(eInvalidInput, "segment " + std::to_string(index) + " is not a line");
    unsigned int next = 0;
    segmentEnd(index, next);
    line.set(m_data.vertices[index].point, m_data.vertices[next].point);
}

void OdDbPolyline::getLineSegAt(unsigned int index, OdGeLineSeg3d& line) const
{
    OdGeLineSeg2d flat;
    getLineSegAt(index, flat);
    const OdGePoint2d a = flat.startPoint(), b = flat.endPoint();
    line.set(worldPoint(a), worldPoint(b));
}

void OdDbPolyline::getArcSegAt(unsigned int index, OdGeCircArc2d& arc) const
{
    if (segType(index) != kArc)
        throw OdError(eInvalidInput, "segment " + std::to_string(index) + " is not an arc");
    unsigned int next = 0;
    segmentEnd(index, next);
    arc.set(m_data.vertices[index].point, m_data.vertices[next].point, m_data.vertices[index].bulge, true);
}

void OdDbPolyline::getArcSegAt(unsigned int index, OdGeCircArc3d& arc) const
{
    if (segType(index) != kArc)
        throw OdError(eInvalidInput, "segment " + std::to_string(index) + " is not an arc");
    const vantrel::SegmentPath path = pathOf(m_data);
    const auto& s = path.segment(index);
    arc.set(s.center, s.axis, s.startDir, s.radius, 0.0, s.sweep);
}

void OdDbPolyline::setClosed(bool closed)
{
    assertWriteEnabled();
    m_data.closed = closed;
}

void OdDbPolyline::setPlinegen(bool plinegen)
{
    assertWriteEnabled();
    m_data.plinegen = plinegen;
}

void OdDbPolyline::setNormal(const OdGeVector3d& normal)
{
    const OdGeVector3d n = unitNormal(normal);
    assertWriteEnabled();
    m_data.normal = n;
}

void OdDbPolyline::setElevation(double elevation)
{
    requireFinite(elevation, "an elevation");
    assertWriteEnabled();
    m_data.elevation = elevation;
}

void OdDbPolyline::setThickness(double thickness)
{
    requireFinite(thickness, "a thickness");
    assertWriteEnabled();
    m_data.thickness = thickness;
}

// --- exchange with 2D polylines ---

OdResult OdDbPolyline::convertFrom(OdDbEntity* polyline2d, bool transferId)
{
    const OdDb2dPolylinePtr src = OdDb2dPolyline::cast(polyline2d);
    if (!src)
        return polyline2d ? eNotThatKindOfClass : eNullObjectPointer;
    if (transferId && (!src->isDBRO() || isDBRO()))
        return eInvalidInput;
    if (transferId && !src->isWriteEnabled())
        return eNotOpenForWrite;
    const OdDb2dPolyline::Data& sd = src->data();
    Data d;
    d.closed = sd.closed;
    d.plinegen = sd.linetypeGen;
    d.elevation = sd.elevation;
    d.thickness = sd.thickness;
    d.normal = sd.normal;
    for (const OdDb2dVertexPtr& v : src->pathVertices()) {
        const OdDb2dVertex::Data& vd = v->data();
        Vertex out;
        out.point = OdGePoint2d(vd.position.x, vd.position.y);
        out.bulge = vd.bulge;
        out.startWidth = vd.startWidth;
        out.endWidth = vd.endWidth;
        out.identifier = vd.identifier;
        d.vertices.push_back(out);
    }
    // One width everywhere is kept as the constant width.
    if (!d.vertices.empty()) {
        const double w = d.vertices.front().startWidth;
        if (std::all_of(d.vertices.begin(), d.vertices.end(),
                        [w](const Vertex& v) { return v.startWidth == w && v.endWidth == w; }))
            d.constantWidth = w;
    }
    setPropertiesFrom(src.get(), false);
    assertWriteEnabled();
    m_data = std::move(d);
    if (transferId)
        src->handOverTo(this, true, true);
    return eOk;
}

OdResult OdDbPolyline::convertTo(OdDb2dPolyline* dest, bool transferId)
{
    if (!dest)
        return eNullObjectPointer;
    if (dest->isDBRO() || dest->numVertices() != 0 || (transferId && !isDBRO()))
        return eInvalidInput;
    if (transferId && !isWriteEnabled())
        return eNotOpenForWrite;
    assertReadEnabled();
    dest->setPropertiesFrom(this, false);
    {
        OdDb2dPolyline::Data& d = dest->dataForWrite(vantrel::dbKey());
        d.polyType = OdDb::k2dSimplePoly;
        d.closed = m_data.closed;
        d.linetypeGen = m_data.plinegen;
        d.elevation = m_data.elevation;
        d.thickness = m_data.thickness;
        d.normal = m_data.normal;
        d.defaultStartWidth = d.defaultEndWidth = m_data.constantWidth;
    }
    for (unsigned int i = 0; i < m_data.vertices.size(); ++i) {
        const Vertex& v = m_data.vertices[i];
        double sw, ew;
        getWidthsAt(i, sw, ew);
        OdDb2dVertexPtr vertex = OdDb2dVertex::createObject();
        OdDb2dVertex::Data& vd = vertex->dataForWrite(vantrel::dbKey());
        vd.position = OdGePoint3d(v.point.x, v.point.y, 0.0);
        vd.bulge = v.bulge;
        vd.startWidth = sw;
        vd.endWidth = ew;
        vd.identifier = v.identifier;
        dest->appendVertex(vertex.get());
    }
    if (transferId)
        handOverTo(dest, true, true);
    return eOk;
}

// --- curve ---

OdResult OdDbPolyline::getStartParam(double& param) const
{
    return vantrel::pathquery::startParam(pathOf(data()), param);
}

OdResult OdDbPolyline::getEndParam(double& param) const { return vantrel::pathquery::endParam(pathOf(data()), param); }

OdResult OdDbPolyline::getPointAtParam(double param, OdGePoint3d& point) const
{
    return vantrel::pathquery::pointAtParam(pathOf(data()), param, point);
}

OdResult OdDbPolyline::getParamAtPoint(const OdGePoint3d& point, double& param) const
{
    return vantrel::pathquery::paramAtPoint(pathOf(data()), point, param);
}

OdResult OdDbPolyline::getDistAtParam(double param, double& dist) const
{
    return vantrel::pathquery::distAtParam(pathOf(data()), param, dist);
}

OdResult OdDbPolyline::getParamAtDist(double dist, double& param) const
{
    return vantrel::pathquery::paramAtDist(pathOf(data()), dist, param);
}

OdResult OdDbPolyline::getPointsAtDists(std::span<const double> dists, std::vector<OdGePoint3d>& points) const
{
    return vantrel::pathquery::pointsAtDists(pathOf(data()), dists, points);
}

OdResult OdDbPolyline::getFirstDeriv(double param, OdGeVector3d& deriv) const
{
    return vantrel::pathquery::firstDeriv(pathOf(data()), param, deriv);
}

OdResult OdDbPolyline::getSecondDeriv(double param, OdGeVector3d& deriv) const
{
    return vantrel::pathquery::secondDeriv(pathOf(data()), param, deriv);
}

OdResult OdDbPolyline::getClosestPointTo(const OdGePoint3d& given, OdGePoint3d& closest, bool extend) const
{
    return vantrel::pathquery::closestPoint(pathOf(data()), given, closest, extend);
}

OdResult OdDbPolyline::getPlane(OdGePlane& plane) const
{
    assertReadEnabled();
    plane = OdGePlane(toWorld(m_data.normal, OdGePoint3d(0.0, 0.0, m_data.elevation)), m_data.normal);
    return eOk;
}

void OdDbPolyline::transformBy(const OdGeMatrix3d& xform)
{
    const vantrel::PlanarTransform t(xform, m_data.normal, m_data.elevation);
    if (!t.isSimilarity() && (hasBulges() || hasWidth()))
        throw OdError(eInvalidInput, "a polyline with arcs or widths cannot be scaled non-uniformly");
    assertWriteEnabled();
    for (auto& v : m_data.vertices) {
        v.point = t.point(v.point);
        v.bulge = t.bulge(v.bulge);
        v.startWidth *= t.scale();
        v.endWidth *= t.scale();
    }
    m_data.constantWidth *= t.scale();
    m_data.thickness *= t.normalScale();
    m_data.normal = t.newNormal();
    m_data.elevation = t.newElevation();
}

void OdDbPolyline::subWorldDraw(vantrel::WorldDraw& wd) const
{
    assertReadEnabled();
    if (m_data.vertices.empty())
        return;
    std::vector<vantrel::PathVertex> path;
    path.reserve(m_data.vertices.size());
    for (const Vertex& v : m_data.vertices)
        path.push_back({worldPoint(v.point), v.bulge, shownWidth(v.startWidth), shownWidth(v.endWidth)});
    wd.path(path, m_data.closed, m_data.normal);
}
