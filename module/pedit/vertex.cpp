// "Edit vertex" of PEdit (the vertex sub-mode of polylines) comes with the second part of the
// command; until then the option says so and changes nothing.
#include "pedit/CPeditCmd.h"

std::int32_t CPeditCmd::OnKeyEditVertex(OdDbObjectId)
{
    printResource(kNotImplementedMessage);
    return kOptionDone;
}
