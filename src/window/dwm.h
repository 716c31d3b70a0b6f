// What the desktop window manager (Windows Vista and later) says of a window.
// Its DLL is bound on first use, since Windows XP has none.
#pragma once

#include <windows.h>

namespace toolcase::window {

// DwmGetWindowAttribute's attributes, by value: the 32-bit DLL is built with
// Windows XP's declarations, which have none.
inline constexpr DWORD kExtendedFrameBounds = 9;  // DWMWA_EXTENDED_FRAME_BOUNDS, a RECT
inline constexpr DWORD kCloaked = 14;             // DWMWA_CLOAKED, a DWORD

// DwmGetWindowAttribute's value into value; false where Windows cannot say
// (no dwmapi.dll, no such function, an attribute it does not know, Wine).
bool dwm_attribute(HWND window, DWORD attribute, void* value, DWORD size) noexcept;

// Since Windows 8 the shell hides windows without taking their WS_VISIBLE
// (windows on other virtual desktops, suspended apps, several of its own):
// nothing of them is on the screen.
inline bool is_cloaked(HWND window) {
  DWORD cloaked = 0;
  return dwm_attribute(window, kCloaked, &cloaked, sizeof cloaked) && cloaked != 0;
}

// Where the window manager draws the window, in the screen's real pixels:
// since Windows 10 a window's rectangle holds a resize border that is not
// drawn. False where it draws no such frame or cannot say (Windows XP, Vista
// and 7 without composition, Wine).
inline bool dwm_frame(HWND window, RECT& frame) {
  return dwm_attribute(window, kExtendedFrameBounds, &frame, sizeof frame) &&
         frame.right > frame.left && frame.bottom > frame.top;
}

}  // namespace toolcase::window
