// Polygon mesh: the vertex grid, opening and closing per direction, surface smoothing,
// transformation and the wire-grid display.
#include <vantrel/db/OdDbDatabase.h>
#include <vantrel/db/OdDbPolygonMesh.h>

#include <algorithm>

#include "entity_math.h"
#include "poly_fit.h"
#include "vertex_lists.h"
#include "db_key.h"

namespace vl = vantrel::vertexlist;

ODRX_DEFINE_MEMBERS(OdDbPolygonMesh, OdDbEntity, "POLYLINE")

namespace {

constexpr int kMaxDensity = 200;

void requireDensity(int density)
{
    if (density < 2 || density > kMaxDensity)
        throw OdError(eOutOfRange, "a surface density is 2 to 200");
}

// Where the vertex of a row and column is in a grid listed row by row.
std::size_t gridIndex(int row, int col, int cols)
{
    return static_cast<std::size_t>(row) * static_cast<std::size_t>(cols) + static_cast<std::size_t>(col);
}

} // namespace

void OdDbPolygonMesh::setGrid(std::int16_t m, std::int16_t n, std::span<const OdGePoint3d> points)
{
    if (m < 2 || n < 2)
        throw OdError(eInvalidInput, "a mesh has at least two rows and two columns");
    if (points.size() != static_cast<std::size_t>(m) * static_cast<std::size_t>(n))
        throw OdError(eInvalidInput, "a mesh needs rows times columns points");
    for (const OdGePoint3d& p : points)
        vantrel::entmath::requireFinite(p, "a mesh vertex");
    assertReadEnabled();
    if (!vl::live(m_vertices).empty())
        throw OdError(eInvalidInput, "the mesh has vertices already");
    assertWriteEnabled();
    m_data.mSize = m;
    m_data.nSize = n;
    m_data.polyMeshType = OdDb::kSimpleMesh;
    for (const OdGePoint3d& p : points) {
        OdDbPolygonMeshVertexPtr v = OdDbPolygonMeshVertex::createObject();
        v->dataForWrite(vantrel::dbKey()).position = p;
        vl::adopt(*this, m_vertices, m_vertices.size(), v.get());
    }
}

void OdDbPolygonMesh::setMSurfaceDensity(std::int16_t density)
{
    requireDensity(density);
    assertWriteEnabled();
    m_data.mSurfaceDensity = density;
}

void OdDbPolygonMesh::setNSurfaceDensity(std::int16_t density)
{
    requireDensity(density);
    assertWriteEnabled();
    m_data.nSurfaceDensity = density;
}

void OdDbPolygonMesh::makeMOpen()
{
    assertWriteEnabled();
    m_data.mClosed = false;
}

void OdDbPolygonMesh::makeMClosed()
{
    assertWriteEnabled();
    m_data.mClosed = true;
}

void OdDbPolygonMesh::makeNOpen()
{
    assertWriteEnabled();
    m_data.nClosed = false;
}

void OdDbPolygonMesh::makeNClosed()
{
    assertWriteEnabled();
    m_data.nClosed = true;
}

void OdDbPolygonMesh::setPolyMeshType(OdDb::PolyMeshType type)
{
    checkMeshType(type);
    assertWriteEnabled();
    m_data.polyMeshType = type;
}

void OdDbPolygonMesh::checkMeshType(std::int64_t type)
{
    switch (type) {
    case OdDb::kSimpleMesh:
    case OdDb::kQuadSurfaceMesh:
    case OdDb::kCubicSurfaceMesh:
    case OdDb::kBezierSurfaceMesh: return;
    default: throw OdError(eInvalidInput, "unknown mesh type");
    }
}

void OdDbPolygonMesh::surfaceFit(OdDb::PolyMeshType type, std::int16_t u, std::int16_t v)
{
    int degree;
    switch (type) {
    case OdDb::kQuadSurfaceMesh: degree = 2; break;
    case OdDb::kCubicSurfaceMesh: degree = 3; break;
    case OdDb::kBezierSurfaceMesh: degree = 0; break;
    default: throw OdError(eInvalidInput, "a surface fit is quadratic, cubic or Bezier");
    }
    const int rows = std::max<int>(2, u), cols = std::max<int>(2, v);
    requireDensity(rows);
    requireDensity(cols);
    assertReadEnabled();
    std::vector<OdDbPolygonMeshVertex*> control;
    for (OdDbPolygonMeshVertex* vertex : vl::live(m_vertices))
        if (vertex->vertexType() != OdDb::k3dFitVertex)
            control.push_back(vertex);
    const int m = m_data.mSize, n = m_data.nSize;
    if (m < 2 || n < 2 || control.size() != static_cast<std::size_t>(m) * static_cast<std::size_t>(n))
        throw OdError(eDegenerateGeometry, "the mesh's vertices do not fill its M x N grid");
    assertWriteEnabled();
    straighten();
    std::vector<OdGePoint3d> points;
    for (OdDbPolygonMeshVertex* vertex : control) {
        points.push_back(vertex->position());
        vl::open(vertex, OdDb::kForWrite)->setVertexType(OdDb::k3dControlVertex);
    }
    const auto grid = vantrel::polyfit::sampleSurface(points, m, n, degree, m_data.mClosed, m_data.nClosed, rows, cols);
    // The generated grid goes in front of the control vertices, the whole list in one pass.
    vl::List<OdDbPolygonMeshVertex> next;
    next.reserve(grid.size() + m_vertices.size());
    for (const OdGePoint3d& p : grid) {
        OdDbPolygonMeshVertexPtr g = OdDbPolygonMeshVertex::createObject();
        g->dataForWrite(vantrel::dbKey()).position = p;
        g->dataForWrite(vantrel::dbKey()).vertexType = OdDb::k3dFitVertex;
        next.emplace_back(g.get());
    }
    for (const auto& kept : m_vertices)
        next.push_back(kept);
    vl::replaceAll(*this, m_vertices, std::move(next));
    m_data.polyMeshType = type;
    m_data.mSurfaceDensity = static_cast<std::int16_t>(rows);
    m_data.nSurfaceDensity = static_cast<std::int16_t>(cols);
}

void OdDbPolygonMesh::surfaceFit()
{
    int type = 6, u = 6, v = 6;
    if (OdDbDatabase* db = database()) {
        type = db->sysVarInt(L"SURFTYPE");
        u = db->sysVarInt(L"SURFU");
        v = db->sysVarInt(L"SURFV");
    }
    surfaceFit(static_cast<OdDb::PolyMeshType>(type), static_cast<std::int16_t>(u), static_cast<std::int16_t>(v));
}

void OdDbPolygonMesh::straighten()
{
    assertWriteEnabled();
    vl::removeLive(m_vertices, [](const OdDbPolygonMeshVertex* v) { return v->vertexType() == OdDb::k3dFitVertex; });
    for (OdDbPolygonMeshVertex* vertex : vl::live(m_vertices))
        if (vertex->vertexType() != OdDb::k3dSimpleVertex)
            vl::open(vertex, OdDb::kForWrite)->setVertexType(OdDb::k3dSimpleVertex);
    m_data.polyMeshType = OdDb::kSimpleMesh;
}

// --- vertices ---

OdDbObjectId OdDbPolygonMesh::appendVertex(OdDbPolygonMeshVertex* vertex)
{
    vl::checkAdoptable(*this, vertex);
    assertWriteEnabled();
    return vl::adopt(*this, m_vertices, m_vertices.size(), vertex);
}

unsigned int OdDbPolygonMesh::numVertices() const
{
    assertReadEnabled();
    return static_cast<unsigned int>(vl::livePositions(m_vertices).size());
}

OdDbPolygonMeshVertexPtr OdDbPolygonMesh::vertexAt(unsigned int index, OdDb::OpenMode mode) const
{
    assertReadEnabled();
    return vl::open(m_vertices[vl::positionOf(m_vertices, index)].get(), mode);
}

OdDbPolygonMeshVertexPtr OdDbPolygonMesh::openVertex(const OdDbObjectId& id, OdDb::OpenMode mode, bool openErased) const
{
    assertReadEnabled();
    return vl::openMember(m_vertices, id, mode, openErased, "not a vertex of this mesh");
}

OdDbVertexIteratorPtr OdDbPolygonMesh::vertexIterator() const
{
    assertReadEnabled();
    return vl::iterator(m_vertices);
}

std::vector<OdDbObjectId> OdDbPolygonMesh::vertexIds() const
{
    assertReadEnabled();
    return vl::liveIds(m_vertices);
}

std::vector<OdDbPolygonMeshVertex*> OdDbPolygonMesh::visibleVertices(std::int16_t& rows, std::int16_t& cols) const
{
    std::vector<OdDbPolygonMeshVertex*> generated, control;
    for (OdDbPolygonMeshVertex* v : vl::live(m_vertices))
        (v->vertexType() == OdDb::k3dFitVertex ? generated : control).push_back(v);
    const auto fills = [](const std::vector<OdDbPolygonMeshVertex*>& vs, int m, int n) {
        return m > 0 && n > 0 && vs.size() == static_cast<std::size_t>(m) * static_cast<std::size_t>(n);
    };
    if (m_data.polyMeshType != OdDb::kSimpleMesh && fills(generated, m_data.mSurfaceDensity, m_data.nSurfaceDensity)) {
        rows = m_data.mSurfaceDensity;
        cols = m_data.nSurfaceDensity;
        return generated;
    }
    if (fills(control, m_data.mSize, m_data.nSize)) {
        rows = m_data.mSize;
        cols = m_data.nSize;
        return control;
    }
    rows = cols = 0;
    return {};
}

void OdDbPolygonMesh::visibleSize(std::int16_t& rows, std::int16_t& cols) const
{
    assertReadEnabled();
    visibleVertices(rows, cols);
}

OdDbPolygonMeshVertexPtr OdDbPolygonMesh::visibleVertexAt(int row, int col, OdDb::OpenMode mode) const
{
    assertReadEnabled();
    std::int16_t rows, cols;
    const auto grid = visibleVertices(rows, cols);
    if (row < 0 || col < 0 || row >= rows || col >= cols)
        throw OdError_InvalidIndex();
    return vl::open(grid[gridIndex(row, col, cols)], mode);
}

void OdDbPolygonMesh::transformBy(const OdGeMatrix3d& xform)
{
    vantrel::entmath::requireInvertible(xform);
    assertWriteEnabled();
    vl::transformPositions(m_vertices, xform);
}

void OdDbPolygonMesh::subWorldDraw(vantrel::WorldDraw& wd) const
{
    std::int16_t rows, cols;
    const auto grid = visibleVertices(rows, cols);
    auto at = [&](int r, int c) {
        vantrel::PathVertex pv;
        pv.point = grid[gridIndex(r, c, cols)]->position();
        return pv;
    };
    std::vector<vantrel::PathVertex> line;
    for (int r = 0; r < rows; ++r) {
        line.clear();
        for (int c = 0; c < cols; ++c)
            line.push_back(at(r, c));
        wd.path(line, m_data.nClosed, OdGeVector3d::kZAxis);
    }
    for (int c = 0; c < cols; ++c) {
        line.clear();
        for (int r = 0; r < rows; ++r)
            line.push_back(at(r, c));
        wd.path(line, m_data.mClosed, OdGeVector3d::kZAxis);
    }
}

void OdDbPolygonMesh::subAddedToDatabase(OdDbDatabase* db) { vl::addAll(m_vertices, db, *this); }

void OdDbPolygonMesh::subDeepenClone()
{
    vl::deepen(m_vertices);
    m_data.seqEndHandle = OdDbHandle();
}

void OdDbPolygonMesh::subHandOverTo(OdDbObject*) { vl::eraseResident(m_vertices); }

void OdDbPolygonMesh::subSetCommon(const CommonData& common) { vl::setCommon(m_vertices, common); }
