// The module's dialog templates, one function per dialog; the host finds them by id through the
// lookup the module exports (vantrel_dialog_template).
#pragma once

#include <vantrel/host/DialogTemplate.h>

namespace vantrel {

// "Lamp colors", template 1381.
const DialogTemplate& lampColorDialogTemplate();
// "Lamp intensity".
const DialogTemplate& lampIntensityDialogTemplate();

} // namespace vantrel
