// The AD dialogue: "Select ellipse", "Select circle", then the common points on the command line
// and, from two points on, a polyline through them in the order found.
#include "mathtest/CMathTestCmd.h"

#include <vector>

#include <vantrel/db/OdDbCircle.h>
#include <vantrel/db/OdDbEllipse.h>
#include <vantrel/db/OdDbPolyline.h>
#include <vantrel/db/OdError.h>
#include <vantrel/ge/OdGeMatrix3d.h>
#include <vantrel/host/HostDocument.h>
#include <vantrel/host/hostSelectionSet.h>

#include "frame/AlpCmdUtils.h"
#include "frame/command_exception.h"
#include "frame/host_binding.h"
#include "frame/module_instance.h"
#include "mathtest/ellipse_intersection.h"

namespace {

// Points closer than this are one point; the curve equations may be this far from zero.
const OdGeTol kTestTol(1e-10, 1e-5);

// The first object of a completed selection, opened for read; null when the request was not
// completed. An empty selection raises the index error.
OdDbObjectPtr selectFirst(HostDocument& document, unsigned prompt)
{
    hostSelectionSetPtr set = hostSelectionSet::createObject(document.database());
    if (document.getSelection(*set, vantrel::loadResource(prompt), nullptr, CMathTestCmd::kSelectionFlags)
        != kInputValue)
        return OdDbObjectPtr();
    if (set->isEmpty())
        throw OdError_InvalidIndex();
    return set->objectIds().front().safeOpenObject();
}

// The polyline through the points, in the plane of the ellipse: the points go into the
// coordinate system of that plane, whose height becomes the elevation, so that every vertex
// sits on its point also when the ellipse is not parallel to the XY plane.
OdDbPolylinePtr polylineThrough(const std::vector<OdGePoint3d>& points, const OdGeVector3d& normal, OdDbDatabase* db)
{
    OdDbPolylinePtr polyline = OdDbPolyline::createObject();
    polyline->setDatabaseDefaults(db);
    polyline->setNormal(normal);
    const OdGeMatrix3d toPlane = OdGeMatrix3d::worldToPlane(normal);
    for (unsigned i = 0; i < points.size(); ++i) {
        OdGePoint3d onPlane = points[i];
        onPlane.transformBy(toPlane);
        if (i == 0)
            polyline->setElevation(onPlane.z);
        polyline->addVertexAt(i, OdGePoint2d(onPlane.x, onPlane.y), 0.0, -1.0, -1.0);
    }
    return polyline;
}

} // namespace

int CMathTestCmd::Run(int /*argument*/)
{
    m_status = kStatusRunning;
    try {
        TestIntersectEllepseWithCircle();
    } catch (...) {
        showCommandException(L"CMathTestCmd::Run");
        m_status = kStatusFailed;
        return 1;
    }
    m_status = kStatusFinished;
    return 0;
}

void CMathTestCmd::TestIntersectEllepseWithCircle()
{
    try {
        HostDocument* document = vantrel::commandDocument();
        if (!document)
            return;
        OdDbDatabasePtr db(document->database());

        OdDbEllipsePtr ellipse = OdDbEllipse::cast(selectFirst(*document, kSelectEllipsePrompt).get());
        if (!ellipse)
            return;
        OdDbCirclePtr circle = OdDbCircle::cast(selectFirst(*document, kSelectCirclePrompt).get());
        if (!circle)
            return;

        const OdGeVector3d majorAxis = ellipse->majorAxis();
        const OdGeVector3d minorAxis = ellipse->minorAxis();
        const OdGeEllipArc3d geEllipse(ellipse->center(), majorAxis, minorAxis, majorAxis.length(), minorAxis.length());
        const OdGeCircArc3d geCircle(circle->center(), circle->normal(), circle->radius());

        std::vector<OdGePoint3d> points;
        if (!vantrel::intersectEllipseCircle(geEllipse, geCircle, points, kTestTol))
            return;
        for (const OdGePoint3d& point : points)
            AlpCmdUtils::printPoint(point);
        if (points.size() >= 2) {
            OdDbPolylinePtr polyline = polylineThrough(points, ellipse->normal(), db.get());
            OdDbObjectId id;
            AlpCmdUtils::postToDb(id, polyline, false);
        }
    } catch (...) {
        showCommandException(L"CMathTestCmd::TestIntersectEllepseWithCircle");
    }
}
