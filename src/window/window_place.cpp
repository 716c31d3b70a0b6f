// WindowPos and WindowMove: where a window stands on the screen, in the
// screen's real pixels, as it is drawn.
//
// A host that is not aware of each monitor's scaling (mIRC) is shown shrunk
// coordinates for the windows of programs that are, and its coordinates are
// stretched when it sets them: every call here is made with the thread aware
// of each monitor, and the thread's awareness put back afterwards. And since
// Windows 10 a window's rectangle holds a resize border that is not drawn:
// the place answered and asked for is the frame that Windows draws.
#include "host/command.h"
#include "window/dwm.h"
#include "window/not_responding.h"
#include "window/per_monitor_awareness.h"
#include "window/placement_text.h"
#include "window/window_place.h"
#include "window/window_target.h"

using namespace toolcase;

namespace {

// GetWindowPlacement's places are relative to the work area of the window's
// monitor, which starts beside a taskbar at the left or the top; this is
// what to add for screen coordinates. A tool window's are on the screen.
POINT work_area_offset(HWND window) {
  if ((GetWindowLongA(window, GWL_EXSTYLE) & WS_EX_TOOLWINDOW) != 0) return {0, 0};
  MONITORINFO monitor{};
  monitor.cbSize = sizeof monitor;
  if (!GetMonitorInfoW(MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST), &monitor)) return {0, 0};
  return {monitor.rcWork.left - monitor.rcMonitor.left, monitor.rcWork.top - monitor.rcMonitor.top};
}

// A minimized window's placement, its place when restored in work-area
// coordinates.
WINDOWPLACEMENT placement_of(HWND window) {
  WINDOWPLACEMENT placement{};
  placement.length = sizeof placement;
  GetWindowPlacement(window, &placement);
  return placement;
}

// Where the window is drawn and its whole rectangle: the frame that the
// window manager draws, else, where it draws none or cannot say, the
// rectangle. Neither call sends the window a message.
struct Place {
  RECT drawn;
  RECT rectangle;
};

Place place_of(HWND window) {
  Place place{};
  GetWindowRect(window, &place.rectangle);
  if (!window::dwm_frame(window, place.drawn)) place.drawn = place.rectangle;
  return place;
}

}  // namespace

// A minimized window's answer is its place when restored, on the screen.
RECT window::drawn_place(HWND window) noexcept {
  if (IsIconic(window)) {
    const RECT place = placement_of(window).rcNormalPosition;
    const POINT offset = work_area_offset(window);
    return {place.left + offset.x, place.top + offset.y, place.right + offset.x,
            place.bottom + offset.y};
  }
  return place_of(window).drawn;
}

namespace {

bool stands_as_asked(const RECT& drawn, const window::Placement& asked) {
  return drawn.left == asked.x && drawn.top == asked.y &&
         (!asked.sized || (drawn.right - drawn.left == asked.width &&
                           drawn.bottom - drawn.top == asked.height));
}

// Places the window, then reads back where it stands.
bool place_window(HWND window, const window::Placement& asked) {
  if (IsIconic(window)) {
    // It stays minimized: only its place when restored changes.
    WINDOWPLACEMENT placement = placement_of(window);
    RECT& place = placement.rcNormalPosition;
    const POINT offset = work_area_offset(window);
    const int width = asked.sized ? asked.width : place.right - place.left;
    const int height = asked.sized ? asked.height : place.bottom - place.top;
    place = {asked.x - offset.x, asked.y - offset.y, asked.x - offset.x + width,
             asked.y - offset.y + height};
    // A window minimized and hidden, as programs in the notification area
    // keep theirs, stays hidden.
    placement.showCmd = IsWindowVisible(window) ? SW_SHOWMINNOACTIVE : SW_HIDE;
    if (!SetWindowPlacement(window, &placement)) return false;
  } else {
    // Restored without activating it; a hidden one would be shown, and stays
    // maximized.
    constexpr LONG kMaximizedAndVisible = WS_MAXIMIZE | WS_VISIBLE;
    if ((GetWindowLongA(window, GWL_STYLE) & kMaximizedAndVisible) == kMaximizedAndVisible) {
      ShowWindow(window, SW_SHOWNOACTIVATE);
    }
    // The borders that are not drawn, added back around the place asked for.
    const Place now = place_of(window);
    const int left = now.drawn.left - now.rectangle.left;
    const int top = now.drawn.top - now.rectangle.top;
    const int width = asked.width + left + (now.rectangle.right - now.drawn.right);
    const int height = asked.height + top + (now.rectangle.bottom - now.drawn.bottom);
    if (!SetWindowPos(window, nullptr, asked.x - left, asked.y - top, width, height,
                      SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOOWNERZORDER |
                          (asked.sized ? 0 : SWP_NOSIZE))) {
      return false;
    }
  }
  return stands_as_asked(window::drawn_place(window), asked);
}

}  // namespace

// "x y width height" of the window as it is drawn.
TOOLCASE_COMMAND(WindowPos) {
  return run_text_command(data, main_window, [](const Text& input, TextEncoding encoding) {
    return window::answer_for_window(input, encoding, kError, [](HWND target) {
      const window::PerMonitorAwareness aware;
      const RECT drawn = window::drawn_place(target);
      return window::placement_text(drawn.left, drawn.top, drawn.right - drawn.left,
                                    drawn.bottom - drawn.top);
    });
  });
}

// "x y;window" moves, "x y width height;window" moves and sizes; neither
// activates the window nor changes its place in the order of windows.
TOOLCASE_COMMAND(WindowMove) {
  return run_text_command(data, main_window, [](const Text& input, TextEncoding encoding) {
    const window::HeadAndWindow parts = window::split_head_and_window(input);
    const std::optional<window::Placement> asked = window::parse_placement(parts.head);
    if (!asked) return kError;
    const Text window_part(parts.window_part);
    return window::answer_for_window(window_part, encoding, kError, [&asked](HWND target) {
      // Placing a window waits until its program has handled the change.
      if (window::is_not_responding(target)) return kFalse;
      const window::PerMonitorAwareness aware;
      return true_or_false(place_window(target, *asked));
    });
  });
}
