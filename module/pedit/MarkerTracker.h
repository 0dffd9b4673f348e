// The mark of the current vertex in PEdit's vertex editing: a cross at the vertex (sized to the
// view), a second cross in green at the other end of a range being chosen, and for a 2D vertex
// with a tangent an arrow along it. It does not follow the cursor.
#pragma once

#include <array>
#include <cstdint>
#include <optional>

#include <vantrel/db/OdDb2dVertex.h>
#include <vantrel/db/OdDbDatabase.h>
#include <vantrel/db/OdDbLine.h>
#include <vantrel/host/HostEdPointTracker.h>

class MarkerTracker : public HostEdPointTracker {
public:
    // The drawer style and flags of the marks.
    static constexpr std::int32_t kPreviewStyle = 1;
    static constexpr std::uint32_t kPreviewFlags = 512;
    // Window messages after which the marks are sized again (a command, a click, the wheel).
    static constexpr std::uint32_t kCommandMessage = 273;
    static constexpr std::uint32_t kMouseWheelMessage = 522;

    // The marks take the drawing's defaults (layer, linetype); the cross is by layer, the second
    // cross green.
    MarkerTracker(OdDbDatabase* db, const OdGePoint3d& markerPoint, const OdDb2dVertex* vertex,
                  std::optional<OdGePoint3d> secondPoint);

    // Sizes the marks again on the messages above; answers false for every message, so that the
    // host handles them all.
    bool filterMessage(const HostMessage& message, const OdGePoint3d& cursor) override;
    int drawPreview(HostEdDrawer* drawer) override;
    void releasePreview(HostEdDrawer* drawer) override;
    // The mark shows as soon as the request opens: it stands at the vertex, not at the cursor.
    bool previewBeforeMove() const override { return true; }

    const std::array<OdDbLinePtr, 3>& cross() const { return m_cross; }
    const std::array<OdDbLinePtr, 3>& secondCross() const { return m_secondCross; }
    const std::array<OdDbLinePtr, 3>& arrow() const { return m_arrow; }

private:
    void update();
    template <class Visit>
    void forEachShown(Visit visit) const;

    OdDbDatabase* m_database;
    OdGePoint3d m_markerPoint;
    std::optional<OdGePoint3d> m_secondPoint;
    bool m_tangentUsed = false;
    double m_tangentAngle = 0.0;
    HostEdDrawer* m_view = nullptr;
    std::array<OdDbLinePtr, 3> m_cross;
    std::array<OdDbLinePtr, 3> m_secondCross;
    std::array<OdDbLinePtr, 3> m_arrow;
};
