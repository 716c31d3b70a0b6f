// How ShowWindow and EnableWindow report a window's previous state. Both
// answer a truth value: nonzero means the window was visible (ShowWindow) or
// disabled (EnableWindow) before the call. The value itself varies between
// platforms and window states, so only zero versus nonzero carries meaning.
#pragma once

namespace toolcase::window {

constexpr bool was_visible_before(int show_window_report) { return show_window_report != 0; }
constexpr bool was_disabled_before(int enable_window_report) { return enable_window_report != 0; }

}  // namespace toolcase::window
