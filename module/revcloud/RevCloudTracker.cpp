// Tracing a revision cloud: the vertex and closing rules on cursor moves and clicks, and the
// preview of the cloud with its rubber line.
#include "revcloud/RevCloudTracker.h"

#include <cassert>

#include <vantrel/host/HostEdDrawer.h>
#include <vantrel/host/HostMessage.h>
#include <vantrel/host/host_window.h>

namespace {
constexpr std::uint32_t kEnter = 13;
}

RevCloudTracker::RevCloudTracker(OdDbPolyline* cloud, const CloudArcs& arcs, const OdGePlane& cloudPlane,
                                 OdDbDatabase* db)
    : m_cloud(cloud), m_rubberBand(OdDbLine::createObject()), m_minArcLength(arcs.minArcLength),
      m_arcStyle(arcs.arcStyle), m_closeDistance(arcs.maxArcLength), m_cloudPlane(cloudPlane)
{
    assert(cloud && cloud->numVerts() > 0 && "tracing starts from the cloud's first vertex");
    if (db)
        m_rubberBand->setDatabaseDefaults(db, false);
    // Collapsed on the first vertex rather than at the origin, where it would show as a stray dot
    // as long as the line does not follow the cursor.
    m_rubberBand->setStartPoint(vertex(0));
    m_rubberBand->setEndPoint(vertex(0));
}

bool RevCloudTracker::filterMessage(const HostMessage& message, const OdGePoint3d& cursor)
{
    switch (message.message) {
    case kTrackerMouseMove: return onMouseMove(message, cursor);
    case kTrackerLeftButtonDown: return onLeftButtonDown(cursor);
    default: return false;
    }
}

bool RevCloudTracker::onMouseMove(const HostMessage& message, const OdGePoint3d& cursor)
{
    if (m_cloud->isClosed()) {
        hostPostChar(message.window, kEnter);
        return true;
    }
    const unsigned count = m_cloud->numVerts();
    const OdGePoint3d first = vertex(0);
    const OdGePoint3d last = vertex(count - 1);
    if (last.isEqualTo(cursor))
        return true;
    if (m_traceState == kTraceRubberBand) {
        m_rubberBand->setStartPoint(last);
        m_rubberBand->setEndPoint(cursor);
        // A running mean of the chords, weighted towards the recent ones.
        if (count >= 2)
            m_closeDistance = (vertex(count - 2).distanceTo(last) + m_closeDistance) * 0.5;
    }
    if (count > 2 && first.distanceTo(cursor) < m_closeDistance) {
        m_cloud->setClosed(true);
        m_traceState = kTraceClosed;
        hostPostChar(message.window, kEnter);
        return true;
    }
    if (last.distanceTo(cursor) > m_minArcLength * kStepFactor)
        addCloudVertex(m_cloud.get(), cursor, m_arcStyle, m_cloudPlane);
    return true;
}

bool RevCloudTracker::onLeftButtonDown(const OdGePoint3d& cursor)
{
    // The cursor reached the start on its way to the click and closed the cloud: the click
    // ends it (Enter is posted) and adds nothing after the closing arc.
    if (m_cloud->isClosed())
        return true;
    if (!vertex(m_cloud->numVerts() - 1).isEqualTo(cursor))
        addCloudVertex(m_cloud.get(), cursor, m_arcStyle, m_cloudPlane);
    return true;
}

int RevCloudTracker::drawPreview(HostEdDrawer* drawer)
{
    drawer->addEntity(m_cloud.get(), kPreviewStyle, kPreviewFlags, 0, 0);
    drawer->addEntity(m_rubberBand.get(), kPreviewStyle, kPreviewFlags, 0, 0);
    return 1;
}

void RevCloudTracker::releasePreview(HostEdDrawer* drawer)
{
    drawer->removeEntity(m_cloud.get());
    drawer->removeEntity(m_rubberBand.get());
}

OdGePoint3d RevCloudTracker::vertex(unsigned index) const
{
    OdGePoint3d p;
    m_cloud->getPointAt(index, p);
    return p;
}
