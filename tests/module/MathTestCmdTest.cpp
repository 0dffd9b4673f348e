// AD through a real command line: the printed points and the polyline through two or more of
// them (also on a tilted ellipse); the prompts and their quiet ends are the transcript ad.scr's.
#include "ModuleHostFixture.h"

#include <string>
#include <vector>

#include <vantrel/db/OdDbBlockTableRecord.h>
#include <vantrel/db/OdDbCircle.h>
#include <vantrel/db/OdDbEllipse.h>
#include <vantrel/db/OdDbPolyline.h>

#include "frame/command_creators.h"
#include "mathtest/CMathTestCmd.h"

namespace {

class MathTestCommand : public ModuleHostFixture {
protected:
    std::string add(const OdDbEntityPtr& entity)
    {
        OdDbBlockTableRecordPtr model = db->getModelSpaceId().safeOpenObject(OdDb::kForWrite);
        return "H " + model->appendOdDbEntity(entity.get()).getHandle().ascii();
    }
    std::string addEllipse(const OdGePoint3d& centre, const OdGeVector3d& normal, const OdGeVector3d& major,
                           double ratio)
    {
        OdDbEllipsePtr ellipse = OdDbEllipse::createObject();
        ellipse->set(centre, normal, major, ratio);
        return add(ellipse);
    }
    std::string addCircle(const OdGePoint3d& centre, const OdGeVector3d& normal, double radius)
    {
        OdDbCirclePtr circle = OdDbCircle::createObject();
        circle->setNormal(normal);
        circle->setCenter(centre);
        circle->setRadius(radius);
        return add(circle);
    }

    // Runs AD as the host does: create, Run, read the status, release.
    int run(const std::string& script)
    {
        app.reset();
        start(script);
        ICmdProcess* cmd = nullptr;
        EXPECT_EQ(vantrel::createCommand<CMathTestCmd>(&cmd), 1);
        const int result = cmd->Run(0);
        status = cmd->GetStatus();
        EXPECT_EQ(cmd->Release(), 0u);
        return result;
    }

    std::vector<OdDbPolylinePtr> polylines() const
    {
        std::vector<OdDbPolylinePtr> found;
        OdDbBlockTableRecordPtr model = db->getModelSpaceId().safeOpenObject();
        for (auto it = model->newIterator(); !it->done(); it->step())
            if (OdDbPolylinePtr p = OdDbPolyline::cast(it->entity().get()))
                found.push_back(p);
        return found;
    }

    std::int32_t status = -1;
};

} // namespace

TEST_F(MathTestCommand, FourPointsArePrintedAndJoinedInTheOrderFound)
{
    const std::string ellipse = addEllipse({0, 0, 0}, OdGeVector3d::kZAxis, {5, 0, 0}, 0.6);
    const std::string circle = addCircle({0, 0, 0}, OdGeVector3d::kZAxis, 4);
    EXPECT_EQ(run(ellipse + "\n" + circle + "\n"), 0);
    EXPECT_EQ(status, ICmdProcess::kStatusFinished);
    // x²/25 + y²/9 = 1 and x² + y² = 16 meet at x² = 175/16, y² = 81/16.
    const std::vector<OdDbPolylinePtr> lines = polylines();
    ASSERT_EQ(lines.size(), 1u);
    ASSERT_EQ(lines[0]->numVerts(), 4u);
    EXPECT_EQ(lines[0]->normal(), OdGeVector3d::kZAxis);
    std::string printed;
    for (unsigned i = 0; i < 4; ++i) {
        OdGePoint3d v;
        lines[0]->getPointAt(i, v);
        EXPECT_NEAR(std::fabs(v.x), std::sqrt(175.0) / 4, 1e-12);
        EXPECT_NEAR(std::fabs(v.y), 9.0 / 4, 1e-12);
        char line[80];
        std::snprintf(line, sizeof line, "Point: %f, %f, %f\n", v.x, v.y, v.z);
        printed += line;
    }
    EXPECT_NE(output().find(printed), std::string::npos) << "the vertices in the printed order";
}

// The quiet ends, the wrong picks and the exception report are in the transcript ad.scr; what it
// cannot show is that fewer than two points add nothing to the drawing.
TEST_F(MathTestCommand, OneOrNoPointIsPrintedWithoutAPolyline)
{
    const std::string ellipse = addEllipse({0, 0, 0}, OdGeVector3d::kZAxis, {5, 0, 0}, 0.6);
    const std::string touching = addCircle({7, 0, 0}, OdGeVector3d::kZAxis, 2);
    const std::string far = addCircle({30, 0, 0}, OdGeVector3d::kZAxis, 2);
    EXPECT_EQ(run(ellipse + "\n" + touching + "\n"), 0);
    EXPECT_EQ(run(ellipse + "\n" + far + "\n"), 0);
    EXPECT_EQ(output(),
              "Select ellipse: " + ellipse + "\nSelect circle: " + touching
                  + "\nPoint: 5.000000, 0.000000, 0.000000\n"
                    "Select ellipse: "
                  + ellipse + "\nSelect circle: " + far + "\n");
    EXPECT_TRUE(polylines().empty());
}

TEST_F(MathTestCommand, PolylineOfATiltedEllipseRunsThroughThePoints)
{
    const OdGeVector3d normal = OdGeVector3d(1, -2, 2).normal();
    const OdGeVector3d major = normal.perpVector().normal() * 5;
    const OdGePoint3d centre(10, 20, 30);
    const std::string ellipse = addEllipse(centre, normal, major, 0.6);
    const std::string circle = addCircle(centre + major * 0.1, normal, 4);
    EXPECT_EQ(run(ellipse + "\n" + circle + "\n"), 0);
    const std::vector<OdDbPolylinePtr> lines = polylines();
    ASSERT_EQ(lines.size(), 1u);
    ASSERT_EQ(lines[0]->numVerts(), 4u);
    EXPECT_TRUE(lines[0]->normal().isEqualTo(normal));
    const OdGeVector3d u = major.normal(), v = normal.crossProduct(u);
    for (unsigned i = 0; i < 4; ++i) {
        OdGePoint3d p;
        lines[0]->getPointAt(i, p);
        // On the circle, on the ellipse, in their plane.
        const OdGeVector3d w = p - centre;
        EXPECT_NEAR(p.distanceTo(centre + major * 0.1), 4.0, 1e-9);
        EXPECT_NEAR(w.dotProduct(u) * w.dotProduct(u) / 25 + w.dotProduct(v) * w.dotProduct(v) / 9, 1.0, 1e-9);
        EXPECT_NEAR(normal.dotProduct(w), 0.0, 1e-9);
    }
}
