// Registration of the host's own commands with the command registry.
#pragma once

#include <vantrel/host/CommandRegistry.h>

namespace vantrel {

// U (takes back the last command) and REDO (puts it back).
void registerUndoCommands(CommandRegistry& registry);

}
