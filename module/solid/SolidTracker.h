// The preview of Solid while a corner is asked for: the outline of the solid being defined, as
// four lines in the order the solid is filled (corner 1-2, 1-3, 3-4, 4-2), following the cursor.
#pragma once

#include <array>
#include <cstdint>

#include <vantrel/db/OdDbDatabase.h>
#include <vantrel/db/OdDbLine.h>
#include <vantrel/host/HostEdPointTracker.h>

class SolidTracker : public HostEdPointTracker {
public:
    // The drawer style and flags of the outline.
    static constexpr std::int32_t kPreviewStyle = 1;
    static constexpr std::uint32_t kPreviewFlags = 512;

    // All four lines collapse onto the first corner, with the defaults of the drawing so that
    // the outline shows the current layer, colour and linetype; the second corner is next.
    SolidTracker(const OdGePoint3d& firstCorner, OdDbDatabase* db);

    // Cursor moves update the outline; every other message is left to the host.
    bool filterMessage(const HostMessage& message, const OdGePoint3d& cursor) override;
    int drawPreview(HostEdDrawer* drawer) override;
    void releasePreview(HostEdDrawer* drawer) override;

    // Moves the corner being asked for (2, 3 or 4) to the cursor.
    void update(const OdGePoint3d& cursor);
    std::int32_t trackerStage() const { return m_trackerStage; }
    void setTrackerStage(std::int32_t stage) { m_trackerStage = stage; }
    // After a solid is posted: the next one starts from its last two corners a and b.
    void reset(const OdGePoint3d& a, const OdGePoint3d& b);

private:
    std::array<OdDbLine*, 4> edges() const { return {m_edgeA.get(), m_edgeB.get(), m_edgeC.get(), m_edgeD.get()}; }

    OdDbLinePtr m_edgeA; // corner 1 to 2
    OdDbLinePtr m_edgeB; // corner 1 to 3
    OdDbLinePtr m_edgeC; // corner 3 to 4
    OdDbLinePtr m_edgeD; // corner 4 to 2
    std::int32_t m_trackerStage = 2;
};
