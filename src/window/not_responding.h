// Whether a call that changes a window would wait on a program that has
// stopped responding. Showing, hiding, enabling, disabling and renaming
// another thread's window wait until that thread has handled the messages
// they send; on a program that reads none (Windows shows "Not responding")
// they would hold the host, and with it its IRC connections, until it recovers.
#pragma once

#include <windows.h>

namespace toolcase::window {

// A window of the calling thread is never waited on: the call runs its window
// procedure directly. The host's own thread, busy with a long script, may have
// read no message for a while, which the platform takes for not responding;
// its windows still count as responding. The platform is asked first, since
// its answer is nearly always no.
inline bool is_not_responding(HWND window) {
  return IsHungAppWindow(window) &&
         GetWindowThreadProcessId(window, nullptr) != GetCurrentThreadId();
}

}  // namespace toolcase::window
