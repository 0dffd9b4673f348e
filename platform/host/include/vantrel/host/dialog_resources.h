// Where dialog templates come from: a module exports a lookup by template id, found with dlsym
// the way its string table is, and the host keeps a current resource module (the module whose
// templates a dialog without an explicit module uses), which a module switches to itself while
// it shows its own dialogs.
#pragma once

#include <vantrel/host/DialogTemplate.h>
#include <vantrel/hxicore/ModuleHandle.h>
#include <vantrel/host/HostExport.h>

// The C name a module exports its template lookup under, with the type
// `const vantrel::DialogTemplate* (unsigned id)` (null for an id it does not have).
#define VANTREL_DIALOG_TEMPLATE_SYMBOL "vantrel_dialog_template"

namespace vantrel {

using DialogTemplateLookup = const DialogTemplate* (*)(unsigned id);

// Template `id` of `module`; null when the module exports no lookup or has no such template.
VANTREL_HOST_EXPORT const DialogTemplate* findDialogTemplate(ModuleHandle module, unsigned id);

// The current resource module (null until one is set); setting answers the one before.
VANTREL_HOST_EXPORT ModuleHandle dialogResourceModule();
VANTREL_HOST_EXPORT ModuleHandle setDialogResourceModule(ModuleHandle module);

} // namespace vantrel
