// Where a window stands, as WindowPos answers it.
#pragma once

#include <windows.h>

#include "window/per_monitor_awareness.h"

namespace toolcase::window {

// The frame Windows draws for the window, in the screen's coordinates as the
// calling thread sees them; a minimized window's is its place when restored.
// Where Windows cannot make the thread aware of each monitor, the window's
// rectangle alone.
RECT drawn_place(HWND window, const PerMonitorAwareness& awareness) noexcept;

}  // namespace toolcase::window
