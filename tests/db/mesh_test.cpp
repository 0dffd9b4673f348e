// Tests of the polygon mesh: opening and closing per direction, surface fitting (grid sizes,
// the walk over the visible grid, surface properties), straightening, undo in a drawing,
// transformation and the wire display.
#include "DbFixture.h"
#include "db_key.h"

#include <vantrel/db/OdDbPolygonMesh.h>
#include <vantrel/ge/OdGeMatrix3d.h>

namespace {

struct PathCounter : vantrel::WorldDraw {
    int open = 0, closed = 0;
    std::size_t points = 0;
    void setTraits(const vantrel::DrawTraits&) override {}
    void path(std::span<const vantrel::PathVertex> v, bool c, const OdGeVector3d&) override
    {
        (c ? closed : open)++;
        points += v.size();
    }
    void polygon(std::span<const OdGePoint3d>, bool) override {}
    void circularArc(const OdGePoint3d&, double, const OdGeVector3d&, const OdGeVector3d&, double) override {}
    void ellipticArc(const OdGePoint3d&, const OdGeVector3d&, const OdGeVector3d&, double, double) override {}
    void region(std::span<const std::vector<OdGePoint3d>>) override {}
    void text(const vantrel::TextRun&) override {}
    void marker(const OdGePoint3d&, vantrel::MarkerKind, double) override {}
    void markerPolyline(const OdGePoint3d&, std::span<const OdGeVector3d>, double) override {}
};

// A 4 x 3 grid over x = row * 10, y = col * 10, with a bump in the middle rows.
std::vector<OdGePoint3d> gridPoints()
{
    std::vector<OdGePoint3d> pts;
    for (int m = 0; m < 4; ++m)
        for (int n = 0; n < 3; ++n)
            pts.emplace_back(m * 10.0, n * 10.0, (m == 1 || m == 2) && n == 1 ? 8.0 : 0.0);
    return pts;
}

OdDbPolygonMeshPtr makeMesh()
{
    OdDbPolygonMeshPtr mesh = OdDbPolygonMesh::createObject();
    mesh->setGrid(4, 3, gridPoints());
    return mesh;
}

std::int16_t rowsOf(const OdDbPolygonMesh& mesh)
{
    std::int16_t r, c;
    mesh.visibleSize(r, c);
    return r;
}

TEST(Mesh, OpenAndCloseEachDirectionIndependently)
{
    OdDbPolygonMeshPtr mesh = makeMesh();
    EXPECT_FALSE(mesh->isMClosed());
    EXPECT_FALSE(mesh->isNClosed());
    mesh->makeMClosed();
    EXPECT_TRUE(mesh->isMClosed());
    EXPECT_FALSE(mesh->isNClosed());
    mesh->makeNClosed();
    mesh->makeMOpen();
    EXPECT_FALSE(mesh->isMClosed());
    EXPECT_TRUE(mesh->isNClosed());

    PathCounter draw;
    mesh->subWorldDraw(draw);
    EXPECT_EQ(draw.closed, 4) << "every row is closed in N";
    EXPECT_EQ(draw.open, 3) << "every column is open in M";
    EXPECT_EQ(draw.points, 24u);
}

TEST(Mesh, SurfaceFitBuildsTheDensityGridAndKeepsTheControlGrid)
{
    OdDbPolygonMeshPtr mesh = makeMesh();
    mesh->surfaceFit(OdDb::kCubicSurfaceMesh, 7, 5);
    EXPECT_EQ(mesh->polyMeshType(), OdDb::kCubicSurfaceMesh);
    EXPECT_EQ(mesh->mSurfaceDensity(), 7);
    EXPECT_EQ(mesh->nSurfaceDensity(), 5);
    EXPECT_EQ(mesh->mSize(), 4);
    EXPECT_EQ(mesh->nSize(), 3);
    ASSERT_EQ(mesh->numVertices(), 7u * 5u + 12u);
    std::int16_t rows, cols;
    mesh->visibleSize(rows, cols);
    EXPECT_EQ(rows, 7);
    EXPECT_EQ(cols, 5);

    // The vertex iterator's k-th vertex is visible grid point (k / N, k % N).
    int k = 0;
    for (auto it = mesh->vertexIterator(); !it->done() && k < 35; it->step(), ++k) {
        OdDbPolygonMeshVertexPtr v = OdDbPolygonMeshVertex::cast(it->vertex().get());
        ASSERT_TRUE(v);
        EXPECT_EQ(v->vertexType(), OdDb::k3dFitVertex);
        EXPECT_EQ(v->position(), mesh->visibleVertexAt(k / 5, k % 5)->position());
    }
    EXPECT_EQ(mesh->vertexAt(35)->vertexType(), OdDb::k3dControlVertex);

    // Clamped in both open directions: the surface's corners are the control corners, and
    // it stays within the control points' heights.
    EXPECT_TRUE(mesh->visibleVertexAt(0, 0)->position().isEqualTo(OdGePoint3d(0, 0, 0)));
    EXPECT_TRUE(mesh->visibleVertexAt(6, 4)->position().isEqualTo(OdGePoint3d(30, 20, 0)));
    for (unsigned int i = 0; i < 35; ++i) {
        const double z = mesh->vertexAt(i)->position().z;
        EXPECT_GE(z, 0.0);
        EXPECT_LE(z, 8.0);
    }
    EXPECT_GT(mesh->visibleVertexAt(3, 2)->position().z, 0.0) << "the bump shows in the middle";
    EXPECT_THROW(mesh->visibleVertexAt(7, 0), OdError_InvalidIndex);

    PathCounter draw;
    mesh->subWorldDraw(draw);
    EXPECT_EQ(draw.open, 7 + 5);
}

TEST(Mesh, ClosedDirectionsAndBezierAndStraighten)
{
    OdDbPolygonMeshPtr mesh = makeMesh();
    mesh->makeNClosed();
    mesh->surfaceFit(OdDb::kQuadSurfaceMesh, 6, 6);
    // The periodic direction's samples wrap: no grid column repeats the first.
    EXPECT_FALSE(mesh->visibleVertexAt(0, 0)->position().isEqualTo(mesh->visibleVertexAt(0, 5)->position()));

    mesh->surfaceFit(OdDb::kBezierSurfaceMesh, 4, 4);
    EXPECT_EQ(mesh->numVertices(), 16u + 12u) << "a refit replaces the earlier grid";
    mesh->makeNOpen();
    mesh->surfaceFit(OdDb::kBezierSurfaceMesh, 4, 4);
    EXPECT_TRUE(mesh->visibleVertexAt(3, 3)->position().isEqualTo(OdGePoint3d(30, 20, 0)));

    mesh->straighten();
    EXPECT_EQ(mesh->polyMeshType(), OdDb::kSimpleMesh);
    EXPECT_EQ(mesh->numVertices(), 12u);
    EXPECT_EQ(rowsOf(*mesh), 4);
    const auto pts = gridPoints();
    for (unsigned int i = 0; i < 12; ++i) {
        EXPECT_EQ(mesh->vertexAt(i)->position(), pts[i]);
        EXPECT_EQ(mesh->vertexAt(i)->vertexType(), OdDb::k3dSimpleVertex);
    }
}

TEST(Mesh, BadFitsAreRefusedWithoutChange)
{
    OdDbPolygonMeshPtr mesh = makeMesh();
    EXPECT_THROW(mesh->surfaceFit(OdDb::kSimpleMesh, 6, 6), OdError);
    EXPECT_THROW(mesh->surfaceFit(OdDb::kCubicSurfaceMesh, 6, 201), OdError);
    mesh->surfaceFit(OdDb::kCubicSurfaceMesh, 0, 1);
    EXPECT_EQ(mesh->mSurfaceDensity(), 2) << "densities below 2 count as 2";
    mesh->straighten();

    mesh->dataForWrite(vantrel::dbKey()).mSize = 5; // as a damaged file may say
    try {
        mesh->surfaceFit(OdDb::kCubicSurfaceMesh, 6, 6);
        FAIL() << "a grid that the vertices do not fill cannot be fitted";
    } catch (const OdError& e) {
        EXPECT_EQ(e.code(), eDegenerateGeometry);
    }
    EXPECT_EQ(mesh->numVertices(), 12u);
    EXPECT_EQ(rowsOf(*mesh), 0);
    PathCounter draw;
    mesh->subWorldDraw(draw);
    EXPECT_EQ(draw.open + draw.closed, 0);
    EXPECT_THROW(mesh->setGrid(4, 3, gridPoints()), OdError) << "the mesh has its vertices";
    EXPECT_THROW(OdDbPolygonMesh::createObject()->setGrid(2, 2, gridPoints()), OdError);
}

TEST_F(DbFixture, MeshFitInADrawingIsUndoneAndUsesTheSettings)
{
    db->setSysVar(L"SURFTYPE", OdResBuf::newRb(70, std::int32_t(5)).get());
    db->setSysVar(L"SURFU", OdResBuf::newRb(70, std::int32_t(3)).get());
    db->setSysVar(L"SURFV", OdResBuf::newRb(70, std::int32_t(4)).get());
    OdDbPolygonMeshPtr mesh = makeMesh();
    const OdDbObjectId id = modelSpace(OdDb::kForWrite)->appendOdDbEntity(mesh.get());
    mesh.release();
    const auto control = OdDbPolygonMeshPtr(id.safeOpenObject())->vertexIds();
    ASSERT_EQ(control.size(), 12u);
    EXPECT_TRUE(control[5].isValid());

    db->startUndoRecord();
    db->setUndoMark();
    db->startUndoRecord();
    {
        OdDbPolygonMeshPtr m = id.safeOpenObject(OdDb::kForWrite);
        m->surfaceFit();
        EXPECT_EQ(m->polyMeshType(), OdDb::kQuadSurfaceMesh);
        EXPECT_EQ(rowsOf(*m), 3);
        OdDbPolygonMeshVertexPtr corner = m->visibleVertexAt(2, 3, OdDb::kForWrite);
        EXPECT_TRUE(corner->objectId().isValid());
        corner->setPosition(OdGePoint3d(31, 21, 1));
        m->transformBy(OdGeMatrix3d::translation(OdGeVector3d(0, 0, 1)));
        EXPECT_EQ(OdDbPolygonMeshVertexPtr(control[0].safeOpenObject())->position(), OdGePoint3d(0, 0, 1));
    }
    const auto fitted = OdDbPolygonMeshPtr(id.safeOpenObject())->vertexIds();
    ASSERT_EQ(fitted.size(), 12u + 12u);
    db->undoBack();
    OdDbPolygonMeshPtr back = id.safeOpenObject();
    EXPECT_EQ(back->vertexIds(), control);
    EXPECT_EQ(back->polyMeshType(), OdDb::kSimpleMesh);
    EXPECT_TRUE(fitted[0].isErased());
    EXPECT_EQ(back->vertexAt(0)->position(), OdGePoint3d(0, 0, 0));
    EXPECT_EQ(back->vertexAt(0)->vertexType(), OdDb::k3dSimpleVertex);
}

} // namespace
