// The exported template lookup: the host's dialog base asks it for a template id while this
// module is the current resource module.
#include "res/dialog_templates.h"

#include <vantrel/host/dialog_resources.h>

extern "C" __attribute__((visibility("default"))) const vantrel::DialogTemplate* vantrel_dialog_template(unsigned id)
{
    for (const vantrel::DialogTemplate* dialog :
         {&vantrel::lampColorDialogTemplate(), &vantrel::lampIntensityDialogTemplate()})
        if (dialog->id == id)
            return dialog;
    return nullptr;
}
