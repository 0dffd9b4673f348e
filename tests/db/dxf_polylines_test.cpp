// Fitted and splined polylines through DXF: the POLYLINE flags 2 and 4, the curve type 75, the
// vertex flags 1, 8 and 16, linetype generation on both kinds of polyline and the header's
// SPLINETYPE, SPLINESEGS and PLINEGEN read back the same here and in an independent reader.
#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include <vantrel/db/DxfFile.h>
#include <vantrel/db/OdDb2dPolyline.h>
#include <vantrel/db/OdDb3dPolyline.h>
#include <vantrel/db/OdDbBlockTableRecord.h>
#include <vantrel/db/OdDbPolyline.h>
#include <vantrel/db/Template.h>

#include "ezdxf_check.h"

namespace {

const std::vector<OdGePoint2d> kFrame{{0, 0}, {10, 12}, {25, -4}, {38, 9}, {50, 0}};

// The DXF flags of each vertex, as the file holds them.
std::vector<int> vertexFlags(const OdDbEntity& entity)
{
    std::vector<int> flags;
    if (auto pl = OdDb2dPolyline::cast(&entity)) {
        for (auto it = pl->vertexIterator(); !it->done(); it->step()) {
            const OdDb2dVertexPtr v = it->vertex();
            flags.push_back(v->vertexType() | (v->isTangentUsed() ? 2 : 0));
        }
    } else if (auto pl3 = OdDb3dPolyline::cast(&entity)) {
        for (auto it = pl3->vertexIterator(); !it->done(); it->step()) {
            const OdDb::Vertex3dType t = OdDb3dPolylineVertexPtr(it->vertex())->vertexType();
            flags.push_back(32 | (t == OdDb::k3dControlVertex ? 16 : t == OdDb::k3dFitVertex ? 8 : 0));
        }
    }
    return flags;
}

std::string pythonList(const std::vector<int>& values)
{
    std::ostringstream out;
    out << '[';
    for (int v : values)
        out << v << ',';
    out << ']';
    return out.str();
}

class FittedPolylinesInDxf : public ::testing::Test {
protected:
    void SetUp() override
    {
        db = vantrel::newDrawing();
        db->setSysVar(L"SPLINETYPE", OdResBuf::newRb(70, std::int32_t(5)).get());
        db->setSysVar(L"SPLINESEGS", OdResBuf::newRb(70, std::int32_t(-3)).get());
        db->setSysVar(L"PLINEGEN", OdResBuf::newRb(70, std::int32_t(1)).get());

        OdDbPolylinePtr lw = OdDbPolyline::createObject();
        for (unsigned i = 0; i < kFrame.size(); ++i)
            lw->addVertexAt(i, kFrame[i], i == 1 ? 0.4 : 0.0);
        lw->setPlinegen(true);
        append(lw.get());

        append(polyline2d(false, [](OdDb2dPolyline& pl) { pl.curveFit(); }).get());
        append(polyline2d(true, [](OdDb2dPolyline& pl) { pl.splineFit(OdDb::k2dQuadSplinePoly, 4); }).get());
        append(polyline2d(false, [](OdDb2dPolyline& pl) {
                   pl.splineFit(OdDb::k2dCubicSplinePoly, -3);
                   pl.setLinetypeGenerationOn();
               }).get());
        OdDb3dPolylinePtr pl3 = OdDb3dPolyline::createObject();
        for (const OdGePoint2d& p : kFrame) {
            OdDb3dPolylineVertexPtr v = OdDb3dPolylineVertex::createObject();
            v->setPosition(OdGePoint3d(p.x, p.y, p.x / 10.0));
            pl3->appendVertex(v.get());
        }
        pl3->splineFit(OdDb::k3dQuadSplinePoly, 5);
        append(pl3.get());
    }

    template <class Fit>
    OdDb2dPolylinePtr polyline2d(bool closed, Fit fit)
    {
        OdDb2dPolylinePtr pl = OdDb2dPolyline::createObject();
        for (const OdGePoint2d& p : kFrame) {
            OdDb2dVertexPtr v = OdDb2dVertex::createObject();
            v->setPosition(OdGePoint3d(p.x, p.y, 0.0));
            pl->appendVertex(v.get());
        }
        if (closed)
            pl->makeClosed();
        fit(*pl);
        return pl;
    }

    void append(OdDbEntity* entity)
    {
        OdDbBlockTableRecordPtr ms = db->getModelSpaceId().safeOpenObject(OdDb::kForWrite);
        ids.push_back(ms->appendOdDbEntity(entity));
    }

    OdDbDatabasePtr db;
    std::vector<OdDbObjectId> ids;
};

TEST_F(FittedPolylinesInDxf, EveryFitStateReadsBackTheSame)
{
    // The first save gives the SEQEND records their handles.
    vantrel::dxfText(*db);
    const std::string first = vantrel::dxfText(*db);
    vantrel::DxfReadResult back = vantrel::readDxfText(first);
    ASSERT_TRUE(back.database) << back.error;
    EXPECT_EQ(vantrel::dxfText(*back.database), first);
    OdDbDatabase& other = *back.database;
    EXPECT_EQ(other.sysVarInt(L"SPLINETYPE"), 5);
    EXPECT_EQ(other.sysVarInt(L"SPLINESEGS"), -3);
    EXPECT_EQ(other.sysVarInt(L"PLINEGEN"), 1);

    auto open
        = [&](std::size_t i) { return OdDbEntityPtr(other.getOdDbObjectId(ids[i].getHandle()).safeOpenObject()); };
    EXPECT_TRUE(OdDbPolylinePtr(open(0))->hasPlinegen());
    const std::vector<OdDb::Poly2dType> types{OdDb::k2dFitCurvePoly, OdDb::k2dQuadSplinePoly, OdDb::k2dCubicSplinePoly};
    for (std::size_t i = 1; i <= 3; ++i) {
        const OdDb2dPolylinePtr was = ids[i].safeOpenObject(), is = open(i);
        EXPECT_EQ(is->polyType(), types[i - 1]) << i;
        EXPECT_EQ(is->isClosed(), was->isClosed()) << i;
        EXPECT_EQ(is->isLinetypeGenerationOn(), i == 3) << i;
        EXPECT_EQ(vertexFlags(*is), vertexFlags(*was)) << i;
        const auto a = was->pathVertices(), b = is->pathVertices();
        ASSERT_EQ(a.size(), b.size()) << i;
        for (std::size_t k = 0; k < a.size(); ++k) {
            EXPECT_EQ(a[k]->position(), b[k]->position()) << i << " " << k;
            EXPECT_EQ(a[k]->bulge(), b[k]->bulge()) << i << " " << k;
        }
    }
    const OdDb3dPolylinePtr pl3 = open(4);
    EXPECT_EQ(pl3->polyType(), OdDb::k3dQuadSplinePoly);
    EXPECT_EQ(vertexFlags(*pl3), vertexFlags(*OdDb3dPolylinePtr(ids[4].safeOpenObject())));
}

TEST_F(FittedPolylinesInDxf, AnIndependentReaderSeesTheSameStates)
{
    std::string expected = "flags = [";
    for (std::size_t i = 1; i < ids.size(); ++i)
        expected += pythonList(vertexFlags(*OdDbEntityPtr(ids[i].safeOpenObject()))) + ",";
    expected += "]\n";
    const EzdxfCheck check = runEzdxfCheck(*db, "fitted", expected + R"(doc = ezdxf.readfile(sys.argv[1])
auditor = doc.audit()
for e in auditor.errors:
    print('audit:', e)
assert not auditor.errors
h = doc.header
assert (h['$SPLINETYPE'], h['$SPLINESEGS'], h['$PLINEGEN']) == (5, -3, 1), (h['$SPLINETYPE'], h['$SPLINESEGS'])
msp = doc.modelspace()
lw = msp.query('LWPOLYLINE')[0]
assert lw.dxf.flags & 128 and not lw.closed
polylines = msp.query('POLYLINE')
# POLYLINE flags: 2 curve fit, 4 spline fit, 1 closed, 8 3D, 128 linetype generation; 75 the curve type.
assert [p.dxf.flags for p in polylines] == [2, 5, 132, 12], [p.dxf.flags for p in polylines]
assert [p.dxf.smooth_type for p in polylines] == [0, 5, 6, 5], [p.dxf.smooth_type for p in polylines]
for p, f in zip(polylines, flags):
    assert [v.dxf.flags for v in p.vertices] == f, ([v.dxf.flags for v in p.vertices], f)
print('ok')
)");
    EXPECT_TRUE(check.passed) << check.output;
}

} // namespace
