// The polygon-mesh options of PEdit (MOpen, MClose, NOpen, NClose, "Edit vertex", "Smooth
// surface", Desmooth) come with the second part of the command; until then each says so and
// changes nothing.
#include "pedit/CPeditCmd.h"

std::int32_t CPeditCmd::OnKeyMeshOption()
{
    printResource(kNotImplementedMessage);
    return kOptionDone;
}
