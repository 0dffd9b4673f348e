// Raised by the input engine when a command keeps asking after the input has ended (a script
// ran out), so that a command that repeats its prompt on cancel cannot loop forever.
#pragma once

#include <stdexcept>

#include <vantrel/host/HostExport.h>

namespace vantrel {

class VANTREL_HOST_EXPORT InputEndedError : public std::runtime_error {
public:
    InputEndedError() : std::runtime_error("the input ended while a command was still asking") {}
};

} // namespace vantrel
