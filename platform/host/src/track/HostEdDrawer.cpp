// The drawer's view: whatever the front end last said is visible.
#include <vantrel/host/HostEdDrawer.h>

OdGeExtents3d HostEdDrawer::viewExtents() const { return m_view; }

HostEdDrawer::~HostEdDrawer() = default;
