// Layouts whose own part could not be read: linked back to their space block, or dropped.
#pragma once

class OdDbDatabase;

namespace vantrel {

class DxfRepairLog;

// Every layout of the layout dictionary must show a block: one that lost its link is given the
// block record that names it as its layout, and one that no block names is dropped; a layout
// without a name takes its dictionary entry's. Each repair is counted in the log.
void repairLayouts(OdDbDatabase& db, DxfRepairLog& repairs);

} // namespace vantrel
