// The extents a saved drawing records: model space in EXTMIN/EXTMAX, paper space in
// PEXTMIN/PEXTMAX, the "no extents" values for an empty space, and no step for U. A block's
// extents are exactly those its entities have one by one.
#include <gtest/gtest.h>

#include <vantrel/db/DxfFile.h>
#include <vantrel/db/OdDbBlockTableRecord.h>
#include <random>

#include <vantrel/db/OdDbArc.h>
#include <vantrel/db/OdDbCircle.h>
#include <vantrel/db/OdDbEllipse.h>
#include <vantrel/db/OdDbPolyline.h>
#include <vantrel/db/Template.h>
#include <vantrel/db/drawing_extents.h>

namespace {

OdGePoint3d point(const OdDbDatabase& db, const wchar_t* name) { return db.getSysVar(name)->getPoint3d(); }

} // namespace

TEST(DrawingExtents, EachSpaceRecordsWhatItHolds)
{
    OdDbDatabasePtr db = vantrel::newDrawing();
    const OdDbObjectId paper = db->getPaperSpaceId();
    const OdGeExtents3d sheet = vantrel::blockExtents(paper); // the template's floating viewport
    ASSERT_TRUE(sheet.isValidExtents());

    vantrel::updateDrawingExtents(*db);
    EXPECT_EQ(point(*db, L"EXTMIN"), OdGePoint3d(1e20, 1e20, 1e20));
    EXPECT_EQ(point(*db, L"EXTMAX"), OdGePoint3d(-1e20, -1e20, -1e20));
    EXPECT_EQ(point(*db, L"PEXTMIN"), sheet.minPoint());
    EXPECT_EQ(point(*db, L"PEXTMAX"), sheet.maxPoint());

    OdDbCirclePtr circle = OdDbCircle::createObject();
    circle->setCenter(OdGePoint3d(10, 20, 5));
    circle->setRadius(3);
    circle->setDatabaseDefaults(db.get());
    OdDbBlockTableRecordPtr(db->getModelSpaceId().safeOpenObject(OdDb::kForWrite))->appendOdDbEntity(circle.get());
    const std::size_t undoBefore = db->undoLogSize();
    vantrel::updateDrawingExtents(*db);
    EXPECT_TRUE(point(*db, L"EXTMIN").isEqualTo({7, 17, 5}));
    EXPECT_TRUE(point(*db, L"EXTMAX").isEqualTo({13, 23, 5}));
    EXPECT_EQ(db->undoLogSize(), undoBefore); // not a change U would take back

    // Written and read back as header variables.
    vantrel::DxfReadResult back = vantrel::readDxfText(vantrel::dxfText(*db));
    ASSERT_TRUE(back.database) << back.error;
    EXPECT_TRUE(point(*back.database, L"EXTMAX").isEqualTo({13, 23, 5}));
    EXPECT_EQ(point(*back.database, L"PEXTMIN"), sheet.minPoint());
}

// Measuring a block passes over arcs within what the entities before them reached; what it gives
// stays exactly the union of the entities' own extents. Random arcs, circles, ellipses and wide
// bulged polylines, each after a frame that they reach beyond by a little or stay within by a
// little.
TEST(DrawingExtents, ABlockHasExactlyTheExtentsOfItsEntitiesTogether)
{
    OdDbDatabasePtr db = vantrel::newDrawing();
    OdDbBlockTableRecordPtr ms = db->getModelSpaceId().safeOpenObject(OdDb::kForWrite);
    std::mt19937 random(7);
    auto uniform = [&](double lo, double hi) { return std::uniform_real_distribution<double>(lo, hi)(random); };
    OdGeExtents3d frame;
    for (double z : {-0.5, 0.5}) {
        OdDbCirclePtr circle = OdDbCircle::createObject();
        circle->setDatabaseDefaults(db.get());
        circle->setCenter(OdGePoint3d(0, 0, z));
        circle->setRadius(50);
        ms->appendOdDbEntity(circle.get());
        OdGeExtents3d one;
        ASSERT_EQ(circle->getGeomExtents(one), eOk);
        frame.addExt(one);
    }
    const double bulges[] = {0.0, 0.4, -0.9, 1.0, 3.0, -2.5, 1e-8};
    for (int i = 0; i < 1200; ++i) {
        // Ones in the XY plane (some raised) near the frame's edge in X (at 50), as often inside
        // as beyond; tilted ones well inside in X and Y, which reach beyond the frame's thin height.
        const bool tilted = i % 5 == 0;
        const OdGeVector3d normal
            = tilted ? OdGeVector3d(uniform(-0.3, 0.3), uniform(-0.3, 0.3), 1).normal() : OdGeVector3d::kZAxis;
        const double size = tilted ? uniform(1, 10) : uniform(1, 20);
        auto place = [&](double reach) {
            if (tilted)
                return OdGePoint3d(uniform(-3, 3), uniform(-3, 3), 0.0);
            const double x = 50.0 - reach * uniform(0.85, 1.15);
            return OdGePoint3d(random() % 2 ? x : -x, uniform(-30, 30), i % 3 == 0 ? uniform(-0.4, 0.4) : 0.0);
        };
        const OdGePoint3d centre = place(size);
        OdDbEntityPtr entity;
        switch (i % 4) {
        case 0: {
            OdDbCirclePtr circle = OdDbCircle::createObject();
            circle->setCenter(centre);
            circle->setRadius(size);
            circle->setNormal(normal);
            entity = circle;
            break;
        }
        case 1: {
            OdDbArcPtr arc = OdDbArc::createObject();
            arc->setCenter(centre);
            arc->setRadius(size);
            arc->setStartAngle(uniform(0, 6.3));
            arc->setEndAngle(uniform(0, 6.3));
            arc->setNormal(normal);
            entity = arc;
            break;
        }
        case 2: {
            OdDbEllipsePtr ellipse = OdDbEllipse::createObject();
            ellipse->set(centre, normal, normal.perpVector() * size, uniform(0.1, 1), uniform(0, 3), uniform(3, 6.3));
            entity = ellipse;
            break;
        }
        default: {
            // One bulged segment, wide, whose arc reaches toward the edge.
            OdDbPolylinePtr polyline = OdDbPolyline::createObject();
            const double bulge = bulges[static_cast<std::size_t>(i / 4) % std::size(bulges)];
            const OdGePoint3d at = place(uniform(0, 10));
            const OdGePoint2d a(at.x, at.y);
            const OdGePoint2d b = a + OdGeVector2d(uniform(-5, 5), uniform(-5, 5));
            polyline->addVertexAt(0, a, bulge, uniform(0, 4), uniform(0, 4));
            polyline->addVertexAt(1, b);
            polyline->setElevation(at.z);
            polyline->setNormal(normal);
            entity = polyline;
        }
        }
        entity->setDatabaseDefaults(db.get());
        ms->appendOdDbEntity(entity.get());
        OdGeExtents3d together = frame;
        OdGeExtents3d one;
        ASSERT_EQ(entity->getGeomExtents(one), eOk);
        together.addExt(one);
        const OdGeExtents3d block = vantrel::blockExtents(db->getModelSpaceId());
        ASSERT_EQ(block.minPoint(), together.minPoint()) << "entity " << i;
        ASSERT_EQ(block.maxPoint(), together.maxPoint()) << "entity " << i;
        ASSERT_EQ(entity->erase(), eOk);
    }
}
