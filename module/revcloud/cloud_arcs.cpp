// The vertex rule of revision clouds and their laying along a curve. Points along the source
// are asked for all at once, so that a long polyline is walked once rather than once per arc.
#include "revcloud/cloud_arcs.h"

#include <cassert>
#include <cstdlib>
#include <vector>

#include <vantrel/db/OdError.h>
#include <vantrel/ge/OdGeContext.h>

namespace {
constexpr int kRandomSpan = 32768;
}

void addCloudVertex(OdDbPolyline* cloud, const OdGePoint3d& point, RevCloudStyle style, const OdGePlane& plane)
{
    const unsigned index = cloud->numVerts();
    cloud->addVertexAt(index, point.convert2d(plane), 0.0, -1.0, -1.0, 0);
    cloud->setBulgeAt(index, kCloudBulge);
    if (style == kRevCloudCalligraphy)
        cloud->setWidthsAt(index, kCalligraphyStartWidth, kCalligraphyEndWidth);
}

double randomArcStep(double min, double max)
{
    // The steps are laid out for a generator of 15 bits; a wider one is cut down to its low 15
    // bits, which stay evenly spread because its range is a multiple of theirs.
    static_assert((RAND_MAX + 1ULL) % kRandomSpan == 0);
    const int r = std::rand() % kRandomSpan;
    return r * (1.0 / kRandomSpan) * (max - min) + min;
}

double curveLength(const OdDbCurve& source)
{
    double end = 0.0, length = 0.0;
    if (source.getEndParam(end) != eOk || source.getDistAtParam(end, length) != eOk)
        return 0.0;
    return length;
}

bool layCloudAlong(OdDbPolyline* cloud, const OdDbCurve& source, double length, const CloudArcs& arcs,
                   const OdGePlane& plane)
{
    assert(cloud->numVerts() == 1 && "the cloud starts at the source's start point");
    // A step that is not positive would never reach the end.
    assert(arcs.minArcLength > 0.0 && arcs.maxArcLength > 0.0);
    std::vector<double> dists;
    for (double d = randomArcStep(arcs.minArcLength, arcs.maxArcLength); d <= length;
         d += randomArcStep(arcs.minArcLength, arcs.maxArcLength))
        dists.push_back(d);
    if (dists.empty())
        return false;
    // The end closes the last arc. A step that landed on it takes it instead: a second vertex
    // there would add an arc of no length.
    if (length - dists.back() <= OdGeContext::gTol.equalPoint())
        dists.back() = length;
    else
        dists.push_back(length);
    std::vector<OdGePoint3d> points;
    if (const OdResult r = source.getPointsAtDists(dists, points); r != eOk)
        throw OdError(r, "the curve gives no point at a distance along it");
    // One allocation for a cloud of tens of thousands of arcs rather than one per doubling.
    cloud->reserveVertices(cloud->numVerts() + static_cast<unsigned>(points.size()));
    for (const OdGePoint3d& p : points)
        addCloudVertex(cloud, p, arcs.arcStyle, plane);
    if (source.isClosed())
        cloud->setClosed(true);
    return true;
}

void reverseCloud(OdDbPolyline* cloud)
{
    for (unsigned i = 0; i < cloud->numVerts(); ++i)
        cloud->setBulgeAt(i, -kCloudBulge);
}
