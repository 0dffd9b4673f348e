// The tracker of a cloud traced with the crosshairs: it adds a vertex each time the cursor is one
// minimum arc away from the last one or the user clicks, and closes the cloud, ending the
// request, when the cursor comes back near the first vertex.
#pragma once

#include <cstdint>

#include <vantrel/db/OdDbDatabase.h>
#include <vantrel/db/OdDbLine.h>
#include <vantrel/db/OdDbPolyline.h>
#include <vantrel/ge/OdGePlane.h>
#include <vantrel/host/HostEdPointTracker.h>

#include "revcloud/cloud_arcs.h"

enum CloudTraceState : std::int32_t {
    kTracePlain = 0,      // the rubber line stays put and the closing distance is the maximum arc
    kTraceRubberBand = 1, // a line follows the cursor from the last vertex; the closing distance
                          // follows the chord lengths
    kTraceClosed = 2,     // final: every further move only ends the request again
};

class RevCloudTracker : public HostEdPointTracker {
public:
    // The drawer style and flags of the cloud and the rubber line.
    static constexpr std::int32_t kPreviewStyle = 4;
    static constexpr std::uint32_t kPreviewFlags = 0x200;
    // On the minimum arc: the distance from the last vertex that makes a new one.
    static constexpr double kStepFactor = 1.0;

    // Holds a reference to the cloud, which has its first vertex; the rubber line gets the
    // defaults of db (layer, colour, linetype).
    RevCloudTracker(OdDbPolyline* cloud, const CloudArcs& arcs, const OdGePlane& cloudPlane, OdDbDatabase* db);

    // Cursor moves and left clicks; every other message is left to the host.
    bool filterMessage(const HostMessage& message, const OdGePoint3d& cursor) override;
    int drawPreview(HostEdDrawer* drawer) override;
    void releasePreview(HostEdDrawer* drawer) override;

    CloudTraceState traceState() const { return m_traceState; }
    void setTraceState(CloudTraceState state) { m_traceState = state; }
    double closeDistance() const { return m_closeDistance; }
    const OdDbLine* rubberBand() const { return m_rubberBand.get(); }

private:
    bool onMouseMove(const HostMessage& message, const OdGePoint3d& cursor);
    bool onLeftButtonDown(const OdGePoint3d& cursor);
    OdGePoint3d vertex(unsigned index) const;

    OdDbPolylinePtr m_cloud;
    OdDbLinePtr m_rubberBand; // never added to the drawing
    double m_minArcLength;
    RevCloudStyle m_arcStyle;
    double m_closeDistance; // below this distance from the first vertex the cloud closes
    CloudTraceState m_traceState = kTracePlain;
    OdGePlane m_cloudPlane;
};
