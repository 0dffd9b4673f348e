// Windows of the host as trackers see them: each command line has a window id that travels in
// the messages its trackers get, and posting a character to it acts as a key press.
#pragma once

#include <cstdint>

#include <vantrel/host/HostExport.h>

using HostWindowId = std::uintptr_t;

// Posts a character to a window's open request: 13 ends it as Enter, 27 cancels it. Answers
// false, and nothing happens, when no request of that window is open or the character is
// neither of these.
VANTREL_HOST_EXPORT bool hostPostChar(HostWindowId window, std::uint32_t character);
