// The light preview: the very light the command appends, following the cursor.
#include "light/LightTracker.h"

#include <vantrel/host/HostEdDrawer.h>
#include <vantrel/host/HostMessage.h>

bool LightTracker::filterMessage(const HostMessage& message, const OdGePoint3d& cursor)
{
    if (message.message != kTrackerMouseMove)
        return false;
    update(message.wParam, cursor);
    return true;
}

int LightTracker::drawPreview(HostEdDrawer* drawer)
{
    drawer->addEntity(m_light.get(), kPreviewStyle, kPreviewFlags, 0, 0);
    return 1;
}

void LightTracker::releasePreview(HostEdDrawer* drawer) { drawer->removeEntity(m_light.get()); }

void LightTracker::update(std::uintptr_t /*messageWord*/, const OdGePoint3d& point)
{
    switch (m_mode) {
    case kMovePosition: m_light->setPosition(point); break;
    case kMoveTarget: m_light->setTargetLocation(point); break;
    default: break;
    }
}
