// A drawer that remembers what is shown instead of painting it: the shell's preview and the
// tests' way to see what a tracker draws.
#pragma once

#include <cstddef>
#include <vector>

#include <vantrel/host/HostEdDrawer.h>
#include <vantrel/host/HostExport.h>

namespace vantrel {

class VANTREL_HOST_EXPORT RecordingDrawer : public HostEdDrawer {
public:
    // The entities are not owned: a tracker removes its entities before it goes away.
    struct Shown {
        OdDbEntity* entity;
        std::int32_t style;
        std::uint32_t flags;
    };

    void addEntity(OdDbEntity* entity, std::int32_t style, std::uint32_t flags, std::int32_t reserved1,
                   std::int32_t reserved2) override;
    void removeEntity(OdDbEntity* entity) override;

    // What is shown now, in the order it was first shown.
    const std::vector<Shown>& shown() const { return m_shown; }
    const Shown* find(const OdDbEntity* entity) const;
    // Calls so far, to tell a redraw from a new preview.
    std::size_t addCalls() const { return m_addCalls; }
    std::size_t removeCalls() const { return m_removeCalls; }

private:
    std::vector<Shown> m_shown;
    std::size_t m_addCalls = 0;
    std::size_t m_removeCalls = 0;
};

} // namespace vantrel
