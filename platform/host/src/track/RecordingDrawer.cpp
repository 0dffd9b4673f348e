// Recording of shown entities: showing an entity again updates its entry, so a preview that is
// redrawn on every cursor move is listed once.
#include <vantrel/host/RecordingDrawer.h>

#include <algorithm>

namespace vantrel {

void RecordingDrawer::addEntity(OdDbEntity* entity, std::int32_t style, std::uint32_t flags, std::int32_t, std::int32_t)
{
    ++m_addCalls;
    auto it = std::find_if(m_shown.begin(), m_shown.end(), [&](const Shown& s) { return s.entity == entity; });
    if (it != m_shown.end()) {
        it->style = style;
        it->flags = flags;
    } else {
        m_shown.push_back({entity, style, flags});
    }
}

void RecordingDrawer::removeEntity(OdDbEntity* entity)
{
    ++m_removeCalls;
    std::erase_if(m_shown, [&](const Shown& s) { return s.entity == entity; });
}

const RecordingDrawer::Shown* RecordingDrawer::find(const OdDbEntity* entity) const
{
    auto it = std::find_if(m_shown.begin(), m_shown.end(), [&](const Shown& s) { return s.entity == entity; });
    return it == m_shown.end() ? nullptr : &*it;
}

} // namespace vantrel
