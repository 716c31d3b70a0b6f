// Who owns a message box that a command shows. A box disables its owner until
// it closes, whichever thread shows it.
#pragma once

#include <windows.h>

namespace toolcase {

struct BoxOwner {
  HWND window;
  UINT extra_style;
};

// On the main window's own thread ($dll, /dll) the box is the host's modal
// box, owned by that window. On any other thread ($dllcall) an owned box
// would keep the user out of the host until it closes: it has no owner and
// comes to the front instead. A null handle, or one that names no window (its
// thread reads as 0), is passed on as it came, and the platform refuses the
// latter's box.
inline BoxOwner box_owner(HWND main_window) {
  const DWORD main_thread = GetWindowThreadProcessId(main_window, nullptr);
  if (main_thread != 0 && main_thread != GetCurrentThreadId()) return {nullptr, MB_SETFOREGROUND};
  return {main_window, 0};
}

}  // namespace toolcase
