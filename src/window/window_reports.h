// How ShowWindow and EnableWindow report a window's previous state. Both
// answer a truth value: nonzero means the window was visible (ShowWindow) or
// disabled (EnableWindow) before the call. The value itself varies between
// platforms and window states, so only zero versus nonzero carries meaning.
#pragma once

#include <windows.h>

namespace toolcase::window {

constexpr bool was_visible_before(int show_window_report) { return show_window_report != 0; }
constexpr bool was_disabled_before(int enable_window_report) { return enable_window_report != 0; }

enum class EnableOutcome {
  changed,  // it is now as asked, and was not before
  already,  // it was as asked before
  refused,  // it is not as asked afterwards
};

// Enables or disables the window. EnableWindow's report is the same for "was
// enabled" and for nothing done: Windows shields the windows of a program run
// as administrator from one that is not without a word. So the state is read
// back.
inline EnableOutcome set_enabled(HWND window, bool enable) {
  // TRUE with all 32 bits set; EnableWindow reads any nonzero value as TRUE.
  constexpr BOOL kEnableAllBits = -1;
  const bool was_enabled =
      !was_disabled_before(EnableWindow(window, enable ? kEnableAllBits : FALSE));
  if ((IsWindowEnabled(window) != FALSE) != enable) return EnableOutcome::refused;
  return was_enabled == enable ? EnableOutcome::already : EnableOutcome::changed;
}

}  // namespace toolcase::window
