// Registration of the host's own commands with the command registry, and the few helpers the
// command families share.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include <vantrel/db/OdDbDatabase.h>
#include <vantrel/db/OdDbEntity.h>
#include <vantrel/host/CommandRegistry.h>

class HostDocument;

namespace vantrel {

// Every family below.
void registerHostCommands(CommandRegistry& registry);

// U (takes back the last command) and REDO (puts it back).
void registerUndoCommands(CommandRegistry& registry);
// LINE, CIRCLE, ARC, ELLIPSE, SPLINE, PLINE.
void registerDrawCommands(CommandRegistry& registry);
// ERASE, LIST.
void registerEditCommands(CommandRegistry& registry);
// SETVAR, LAYER, GROUP, UCS.
void registerSettingsCommands(CommandRegistry& registry);
// ZOOM, MSPACE, PSPACE, MODEL, LAYOUT.
void registerViewCommands(CommandRegistry& registry);
// SAVE, QUIT, EXIT.
void registerFileCommands(CommandRegistry& registry);
// HELP.
void registerHelpCommand(CommandRegistry& registry);

// Before the command line is left with unsaved changes: asks whether to save them (Yes saves
// to the drawing's file, asking for a name when it has none; No leaves them unsaved and marks
// them discarded). False when the user stays: Cancel, or a save that did not happen.
bool confirmLeaving(HostDocument& doc);

// Gives the entity the drawing's current layer, colour and linetype and appends it to the space
// the user works in (paper space, or model space through an active floating viewport).
OdDbObjectId postToActiveSpace(HostDocument& doc, OdDbEntity* entity);

// After U or REDO changed CVPORT: makes the paper-space viewport of that number the active one
// again, since the active viewport itself is not part of the undo history.
void followViewportVariable(OdDbDatabase& db);

// Entities chosen by repeated selections until Enter, each once; nothing when cancelled.
std::optional<std::vector<OdDbObjectId>> selectObjects(HostDocument& doc, std::uint32_t flags);

// A number as the transcript shows it: four decimals, no "-0".
std::wstring formatNumber(double value);

} // namespace vantrel
