// The window message that a tracker gets while a point request is open, with the numbers the
// host sends: the cursor moved (512) and the left button went down (513).
#pragma once

#include <cstdint>

#include <vantrel/host/host_window.h>
#include <vantrel/host/HostExport.h>

inline constexpr std::uint32_t kTrackerMouseMove = 512;
inline constexpr std::uint32_t kTrackerLeftButtonDown = 513;

struct VANTREL_HOST_EXPORT HostMessage {
    HostWindowId window = 0; // where hostPostChar reaches the open request
    std::uint32_t message = 0;
    std::uintptr_t wParam = 0; // button state: 1 while the left button is down
    std::intptr_t lParam = 0;
};
