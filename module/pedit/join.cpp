// Join of PEdit comes with the second part of the command; until then the option says so and
// changes nothing.
#include "pedit/CPeditCmd.h"

std::int32_t CPeditCmd::OnKeyJoin()
{
    printResource(kNotImplementedMessage);
    return kOptionDone;
}
