// Where a window stands, as WindowPos answers it.
#pragma once

#include <windows.h>

namespace toolcase::window {

// The frame Windows draws for the window, in the screen's coordinates as the
// calling thread sees them; a minimized window's is its place when restored.
RECT drawn_place(HWND window) noexcept;

}  // namespace toolcase::window
