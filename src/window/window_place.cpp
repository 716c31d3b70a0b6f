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

// The monitor a window is on, or nearest to.
MONITORINFO monitor_of(HWND window) {
  MONITORINFO monitor{};
  monitor.cbSize = sizeof monitor;
  if (!GetMonitorInfoW(MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST), &monitor)) {
    monitor.rcMonitor = monitor.rcWork = RECT{0, 0, 0, 0};
  }
  return monitor;
}

// GetWindowPlacement's places are relative to the work area of the window's
// monitor, which starts beside a taskbar at the left or the top; this is
// what to add for screen coordinates. A tool window's are on the screen.
POINT work_area_offset(HWND window) {
  if ((GetWindowLongA(window, GWL_EXSTYLE) & WS_EX_TOOLWINDOW) != 0) return {0, 0};
  const MONITORINFO monitor = monitor_of(window);
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
// rectangle. Neither call sends the window a message. The frame is in real
// pixels: beside a rectangle in scaled ones (a thread that Windows cannot
// make aware of each monitor) it would mix the two.
struct Place {
  RECT drawn;
  RECT rectangle;
};

Place place_of(HWND window, const window::PerMonitorAwareness& awareness) {
  Place place{};
  GetWindowRect(window, &place.rectangle);
  if (!awareness.per_monitor() || !window::dwm_frame(window, place.drawn)) {
    place.drawn = place.rectangle;
  }
  return place;
}

// The borders that Windows does not draw, on each side.
RECT undrawn_borders(const Place& place) {
  return {place.drawn.left - place.rectangle.left, place.drawn.top - place.rectangle.top,
          place.rectangle.right - place.drawn.right, place.rectangle.bottom - place.drawn.bottom};
}

bool same_rect(const RECT& a, const RECT& b) {
  return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

}  // namespace

// A minimized window's answer is its place when restored, on the screen: the
// work area of its monitor for one that will restore maximized.
RECT window::drawn_place(HWND window, const PerMonitorAwareness& awareness) noexcept {
  if (IsIconic(window)) {
    const WINDOWPLACEMENT placement = placement_of(window);
    if ((placement.flags & WPF_RESTORETOMAXIMIZED) != 0) return monitor_of(window).rcWork;
    const RECT& place = placement.rcNormalPosition;
    const POINT offset = work_area_offset(window);
    return {place.left + offset.x, place.top + offset.y, place.right + offset.x,
            place.bottom + offset.y};
  }
  return place_of(window, awareness).drawn;
}

namespace {

bool stands_as_asked(const RECT& drawn, const window::Placement& asked) {
  return drawn.left == asked.x && drawn.top == asked.y &&
         (!asked.sized || (drawn.right - drawn.left == asked.width &&
                           drawn.bottom - drawn.top == asked.height));
}

// Asks Windows to place the window so that, with the borders it does not
// draw added back, the frame it draws stands as asked.
bool set_drawn_place(HWND window, const window::Placement& asked, const RECT& borders) {
  return SetWindowPos(window, nullptr, asked.x - borders.left, asked.y - borders.top,
                      asked.width + borders.left + borders.right,
                      asked.height + borders.top + borders.bottom,
                      SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOOWNERZORDER |
                          (asked.sized ? 0 : SWP_NOSIZE)) != FALSE;
}

// A minimized window stays minimized: only its place when restored changes.
// One that would restore maximized restores at the place asked instead, as a
// maximized window is restored first; x y keep its restored size.
bool place_minimized_window(HWND window, const window::Placement& asked,
                            const window::PerMonitorAwareness& awareness) {
  WINDOWPLACEMENT placement = placement_of(window);
  placement.flags &= ~static_cast<UINT>(WPF_RESTORETOMAXIMIZED);
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
  return stands_as_asked(window::drawn_place(window, awareness), asked);
}

// Places the window, then reads back where it stands.
bool place_window(HWND window, const window::Placement& asked,
                  const window::PerMonitorAwareness& awareness) {
  if (IsIconic(window)) return place_minimized_window(window, asked, awareness);
  // Restored without activating it; a hidden one would be shown, and stays
  // maximized.
  constexpr LONG kMaximizedAndVisible = WS_MAXIMIZE | WS_VISIBLE;
  if ((GetWindowLongA(window, GWL_STYLE) & kMaximizedAndVisible) == kMaximizedAndVisible) {
    ShowWindow(window, SW_SHOWNOACTIVATE);
  }
  const Place before = place_of(window, awareness);
  const RECT borders = undrawn_borders(before);
  if (!set_drawn_place(window, asked, borders)) return false;
  // On a monitor of another scaling the borders differ, and a program
  // aware of scaling resizes its window for it: placed once more with
  // what it has there.
  Place placed = place_of(window, awareness);
  const int width = asked.sized ? asked.width : before.drawn.right - before.drawn.left;
  const int height = asked.sized ? asked.height : before.drawn.bottom - before.drawn.top;
  const bool resized = placed.drawn.right - placed.drawn.left != width ||
                       placed.drawn.bottom - placed.drawn.top != height;
  if (!stands_as_asked(placed.drawn, asked) &&
      (resized || !same_rect(undrawn_borders(placed), borders))) {
    if (!set_drawn_place(window, asked, undrawn_borders(placed))) return false;
    placed = place_of(window, awareness);
  }
  return stands_as_asked(placed.drawn, asked);
}

}  // namespace

// "x y width height" of the window as it is drawn.
TOOLCASE_COMMAND(WindowPos) {
  return run_text_command(data, main_window, [](const Text& input, TextEncoding encoding) {
    return window::answer_for_window(input, encoding, kError, [](HWND target) {
      const window::PerMonitorAwareness awareness;
      const RECT drawn = window::drawn_place(target, awareness);
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
      const window::PerMonitorAwareness awareness;
      return true_or_false(place_window(target, *asked, awareness));
    });
  });
}
