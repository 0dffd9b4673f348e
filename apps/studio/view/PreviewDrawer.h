// The drawer trackers draw their previews with in the studio: it remembers what is shown, as the
// shell's does, and tells the view to paint it again.
#pragma once

#include <functional>

#include <vantrel/host/RecordingDrawer.h>

namespace vantrel::studio {

class PreviewDrawer : public RecordingDrawer {
public:
    explicit PreviewDrawer(std::function<void()> changed) : m_changed(std::move(changed)) {}

    void addEntity(OdDbEntity* entity, std::int32_t style, std::uint32_t flags, std::int32_t reserved1,
                   std::int32_t reserved2) override
    {
        RecordingDrawer::addEntity(entity, style, flags, reserved1, reserved2);
        m_changed();
    }
    void removeEntity(OdDbEntity* entity) override
    {
        RecordingDrawer::removeEntity(entity);
        m_changed();
    }

private:
    std::function<void()> m_changed;
};

} // namespace vantrel::studio
