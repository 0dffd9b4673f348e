// 3D polyline: its vertex objects, spline fitting, curve queries over the drawn path,
// transformation and display.
#include <vantrel/db/OdDb3dPolyline.h>
#include <vantrel/db/OdDbDatabase.h>

#include <algorithm>

#include "SegmentPath.h"
#include "entity_math.h"
#include "path_queries.h"
#include "poly_fit.h"
#include "vertex_lists.h"
#include "db_key.h"

namespace vl = vantrel::vertexlist;

ODRX_DEFINE_MEMBERS(OdDb3dPolyline, OdDbCurve, "POLYLINE")

namespace {

bool isGenerated(OdDb::Vertex3dType t) { return t == OdDb::k3dFitVertex; }

std::vector<OdGePoint3d> pathPoints(const OdDb3dPolyline& pl)
{
    std::vector<OdGePoint3d> points;
    for (const auto& v : pl.pathVertices())
        points.push_back(v->data().position);
    return points;
}

vantrel::SegmentPath pathOf(const OdDb3dPolyline& pl)
{
    return vantrel::SegmentPath::fromPoints(pathPoints(pl), pl.data().closed);
}

} // namespace

void OdDb3dPolyline::setPolyType(OdDb::Poly3dType type)
{
    if (type < OdDb::k3dSimplePoly || type > OdDb::k3dCubicSplinePoly)
        throw OdError(eInvalidInput, "unknown 3D polyline type");
    assertWriteEnabled();
    m_data.polyType = type;
}

void OdDb3dPolyline::makeOpen()
{
    assertWriteEnabled();
    m_data.closed = false;
}

void OdDb3dPolyline::makeClosed()
{
    assertWriteEnabled();
    m_data.closed = true;
}

// --- vertices ---

OdDbObjectId OdDb3dPolyline::insertAtPosition(std::size_t pos, OdDb3dPolylineVertex* vertex)
{
    vl::checkAdoptable(*this, vertex);
    assertWriteEnabled();
    return vl::adopt(*this, m_vertices, pos, vertex);
}

std::size_t OdDb3dPolyline::positionAfter(const OdDb3dPolylineVertex* after) const
{
    return vl::positionAfter(m_vertices, after);
}

OdDbObjectId OdDb3dPolyline::appendVertex(OdDb3dPolylineVertex* vertex)
{
    return insertAtPosition(m_vertices.size(), vertex);
}

OdDbObjectId OdDb3dPolyline::insertVertexAt(const OdDbObjectId& afterId, OdDb3dPolylineVertex* vertex)
{
    return insertVertexAt(vl::findById(m_vertices, afterId), vertex);
}

OdDbObjectId OdDb3dPolyline::insertVertexAt(const OdDb3dPolylineVertex* after, OdDb3dPolylineVertex* vertex)
{
    return insertAtPosition(positionAfter(after), vertex);
}

void OdDb3dPolyline::removeVertexAt(unsigned int index)
{
    const std::size_t pos = vl::positionOf(m_vertices, index);
    assertWriteEnabled();
    vl::remove(m_vertices, pos);
}

unsigned int OdDb3dPolyline::numVertices() const
{
    assertReadEnabled();
    return static_cast<unsigned int>(vl::livePositions(m_vertices).size());
}

OdDb3dPolylineVertexPtr OdDb3dPolyline::vertexAt(unsigned int index, OdDb::OpenMode mode) const
{
    assertReadEnabled();
    return vl::open(m_vertices[vl::positionOf(m_vertices, index)].get(), mode);
}

OdDb3dPolylineVertexPtr OdDb3dPolyline::openVertex(const OdDbObjectId& id, OdDb::OpenMode mode, bool openErased) const
{
    assertReadEnabled();
    return vl::openMember(m_vertices, id, mode, openErased, "not a vertex of this polyline");
}

OdDbVertexIteratorPtr OdDb3dPolyline::vertexIterator() const
{
    assertReadEnabled();
    return vl::iterator(m_vertices);
}

std::vector<OdDbObjectId> OdDb3dPolyline::vertexIds() const
{
    assertReadEnabled();
    return vl::liveIds(m_vertices);
}

std::vector<OdDb3dPolylineVertexPtr> OdDb3dPolyline::pathVertices() const
{
    assertReadEnabled();
    return vl::pathOrFrame(m_vertices,
                           [](const OdDb3dPolylineVertex* v) { return v->vertexType() == OdDb::k3dControlVertex; });
}

// --- fitting ---

std::size_t OdDb3dPolyline::countDefining() const
{
    return vl::countLive(m_vertices, [](const OdDb3dPolylineVertex* v) { return !isGenerated(v->vertexType()); });
}

std::vector<OdDb3dPolylineVertexPtr> OdDb3dPolyline::dropGenerated()
{
    vl::removeLive(m_vertices, [](const OdDb3dPolylineVertex* v) { return isGenerated(v->vertexType()); });
    return vl::openLive(m_vertices, OdDb::kForWrite);
}

void OdDb3dPolyline::straighten()
{
    assertWriteEnabled();
    for (const auto& v : dropGenerated())
        if (v->vertexType() != OdDb::k3dSimpleVertex)
            v->setVertexType(OdDb::k3dSimpleVertex);
    m_data.polyType = OdDb::k3dSimplePoly;
}

void OdDb3dPolyline::splineFit(OdDb::Poly3dType type, std::int16_t segments)
{
    if (type != OdDb::k3dQuadSplinePoly && type != OdDb::k3dCubicSplinePoly)
        throw OdError(eInvalidInput, "a spline fit is quadratic or cubic");
    assertReadEnabled();
    if (countDefining() < 2)
        throw OdError(eDegenerateGeometry, "fitting a spline needs at least two vertices");
    assertWriteEnabled();
    std::vector<OdGePoint3d> control;
    for (const auto& v : dropGenerated()) {
        control.push_back(v->position());
        if (v->vertexType() != OdDb::k3dControlVertex)
            v->setVertexType(OdDb::k3dControlVertex);
    }
    const int perSpan = std::max(1, std::abs(static_cast<int>(segments)));
    const auto samples
        = vantrel::polyfit::sampleSpline(control, type == OdDb::k3dQuadSplinePoly ? 2 : 3, m_data.closed, perSpan);
    // The path first, then the frame.
    vl::List<OdDb3dPolylineVertex> next;
    next.reserve(samples.points.size() + m_vertices.size());
    for (const OdGePoint3d& p : samples.points) {
        OdDb3dPolylineVertexPtr fit = OdDb3dPolylineVertex::createObject();
        fit->dataForWrite(vantrel::dbKey()).position = p;
        fit->dataForWrite(vantrel::dbKey()).vertexType = OdDb::k3dFitVertex;
        next.emplace_back(fit);
    }
    for (const auto& v : m_vertices)
        next.push_back(v);
    vl::replaceAll(*this, m_vertices, std::move(next));
    m_data.polyType = type;
}

void OdDb3dPolyline::splineFit()
{
    const auto settings = vantrel::polyfit::splineFitSettings(database());
    splineFit(settings.quadratic ? OdDb::k3dQuadSplinePoly : OdDb::k3dCubicSplinePoly, settings.segments);
}

// --- curve ---

OdResult OdDb3dPolyline::getStartParam(double& param) const
{
    return vantrel::pathquery::startParam(pathOf(*this), param);
}

OdResult OdDb3dPolyline::getEndParam(double& param) const { return vantrel::pathquery::endParam(pathOf(*this), param); }

OdResult OdDb3dPolyline::getPointAtParam(double param, OdGePoint3d& point) const
{
    return vantrel::pathquery::pointAtParam(pathOf(*this), param, point);
}

OdResult OdDb3dPolyline::getParamAtPoint(const OdGePoint3d& point, double& param) const
{
    return vantrel::pathquery::paramAtPoint(pathOf(*this), point, param);
}

OdResult OdDb3dPolyline::getDistAtParam(double param, double& dist) const
{
    return vantrel::pathquery::distAtParam(pathOf(*this), param, dist);
}

OdResult OdDb3dPolyline::getParamAtDist(double dist, double& param) const
{
    return vantrel::pathquery::paramAtDist(pathOf(*this), dist, param);
}

OdResult OdDb3dPolyline::getFirstDeriv(double param, OdGeVector3d& deriv) const
{
    return vantrel::pathquery::firstDeriv(pathOf(*this), param, deriv);
}

OdResult OdDb3dPolyline::getSecondDeriv(double param, OdGeVector3d& deriv) const
{
    return vantrel::pathquery::secondDeriv(pathOf(*this), param, deriv);
}

OdResult OdDb3dPolyline::getClosestPointTo(const OdGePoint3d& given, OdGePoint3d& closest, bool extend) const
{
    return vantrel::pathquery::closestPoint(pathOf(*this), given, closest, extend);
}

OdResult OdDb3dPolyline::getPlane(OdGePlane& plane) const
{
    const std::vector<OdGePoint3d> pts = pathPoints(*this);
    if (pts.empty())
        return eDegenerateGeometry;
    // The normal of the first two edges that are not parallel; a straight path lies in the
    // plane through it perpendicular to one of its perpendiculars.
    const OdGePoint3d& p0 = pts.front();
    OdGeVector3d dir, normal;
    for (const OdGePoint3d& p : pts) {
        const OdGeVector3d d = p - p0;
        if (dir.isZeroLength()) {
            dir = d;
            continue;
        }
        const OdGeVector3d n = dir.crossProduct(d);
        if (n.length() > 1e-9 * dir.length() * d.length()) {
            normal = n.normal();
            break;
        }
    }
    if (normal.isZeroLength())
        normal = dir.isZeroLength() ? OdGeVector3d::kZAxis : dir.perpVector();
    const OdGePlane candidate(p0, normal);
    const double tol = vantrel::entmath::pointTolerance(pathOf(*this).size());
    if (std::any_of(pts.begin(), pts.end(), [&](const OdGePoint3d& p) { return candidate.distanceTo(p) > tol; }))
        return eNotImplementedYet;
    plane = candidate;
    return eOk;
}

void OdDb3dPolyline::transformBy(const OdGeMatrix3d& xform)
{
    vantrel::entmath::requireInvertible(xform);
    assertWriteEnabled();
    vl::transformPositions(m_vertices, xform);
}

void OdDb3dPolyline::subWorldDraw(vantrel::WorldDraw& wd) const
{
    std::vector<vantrel::PathVertex> path;
    for (const OdGePoint3d& p : pathPoints(*this)) {
        vantrel::PathVertex pv;
        pv.point = p;
        path.push_back(pv);
    }
    if (!path.empty())
        wd.path(path, m_data.closed, OdGeVector3d::kZAxis);
}

void OdDb3dPolyline::subAddedToDatabase(OdDbDatabase* db) { vl::addAll(m_vertices, db, *this); }

void OdDb3dPolyline::subDeepenClone()
{
    vl::deepen(m_vertices);
    m_data.seqEndHandle = OdDbHandle();
}

void OdDb3dPolyline::subHandOverTo(OdDbObject*) { vl::eraseResident(m_vertices); }

void OdDb3dPolyline::subSetCommon(const CommonData& common) { vl::setCommon(m_vertices, common); }
