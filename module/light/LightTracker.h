// The preview of a light command while a point is asked for: the light being placed itself,
// moved to the cursor (its position, or its target while the target is asked for).
#pragma once

#include <cstdint>

#include <vantrel/db/OdDbLight.h>
#include <vantrel/host/HostEdPointTracker.h>

class LightTracker : public HostEdPointTracker {
public:
    // What the cursor moves.
    static constexpr std::int32_t kMovePosition = 0;
    static constexpr std::int32_t kMoveTarget = 1;
    // The drawer style and flags of the light.
    static constexpr std::int32_t kPreviewStyle = 5;
    static constexpr std::uint32_t kPreviewFlags = 768;

    LightTracker(OdDbLightPtr light, std::int32_t trackingMode) : m_light(std::move(light)), m_mode(trackingMode) {}

    // Cursor moves update the light; every other message is left to the host.
    bool filterMessage(const HostMessage& message, const OdGePoint3d& cursor) override;
    int drawPreview(HostEdDrawer* drawer) override;
    void releasePreview(HostEdDrawer* drawer) override;

    // Moves the light's position or target to the point; other modes move nothing.
    virtual void update(std::uintptr_t messageWord, const OdGePoint3d& point);

private:
    OdDbLightPtr m_light;
    std::int32_t m_mode;
};
