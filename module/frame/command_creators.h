// How the host gets a command to run: the creator of an object command (a new reference-counted
// command object per run) and the entry of a function command (the command on the entry's stack).
#pragma once

#include <cassert>
#include <new>

#include <vantrel/host/CmdProtocol.h>

namespace vantrel {

// A CommandCreator: stores a new Command(args...) holding the caller's one reference and
// answers 1, also when the allocation fails, in which case null is stored.
template <class Command, auto... Args>
int createCommand(ICmdProcess** out)
{
    assert(out && "the host passes where the command goes");
    *out = new (std::nothrow) Command(Args...);
    return 1;
}

// A CommandEntry: builds the command in its initial state, runs it to its end and destroys it.
template <class Command>
void runFunctionCommand()
{
    Command command;
    command.Run();
}

} // namespace vantrel
