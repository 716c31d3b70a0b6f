// Commands that ask about or change the state of a top-level window named by
// class or title. Each makes its platform calls only on a window found. They
// share one frame and one switch, so the code stands here once, not once per
// command.
#include "host/command.h"
#include "host/text.h"
#include "window/not_responding.h"
#include "window/window_reports.h"
#include "window/window_target.h"

using namespace toolcase;

namespace {

enum class WindowAction {
  is_visible,
  show,
  hide,
  enable,
  disable,
  activate,
  minimize,
  maximize,
  close
};

bool is_visible(HWND target) { return IsWindowVisible(target) != 0; }

// Reading a window's state, bringing it forward and posting to it never wait
// on its program; every other action does, and so does restoring a minimized
// window before bringing it forward.
constexpr bool waits_on_window(WindowAction action) {
  return action != WindowAction::is_visible && action != WindowAction::activate &&
         action != WindowAction::close;
}

std::string_view act_on(HWND target, WindowAction action) {
  // A window that is not responding is left alone: the platform said no.
  if (waits_on_window(action) && window::is_not_responding(target)) return kFalse;
  switch (action) {
    case WindowAction::is_visible:
      return true_or_false(is_visible(target));
    // "error" for a window that is visible already, without showing it again.
    case WindowAction::show:
      if (is_visible(target)) return kError;
      ShowWindow(target, SW_SHOW);
      return true_or_false(is_visible(target));
    // "error" for a window that is hidden already, without hiding it again.
    case WindowAction::hide:
      if (!is_visible(target)) return kError;
      ShowWindow(target, SW_HIDE);
      return true_or_false(!is_visible(target));
    // "true" when the window was disabled before and is enabled now.
    case WindowAction::enable:
      return true_or_false(window::set_enabled(target, true) == window::EnableOutcome::changed);
    // "true" when the window was enabled before and is disabled now.
    case WindowAction::disable:
      return true_or_false(window::set_enabled(target, false) == window::EnableOutcome::changed);
    // Brought forward while minimized, a window stays minimized: it is
    // restored first (to maximized, if it was). A hidden one is not shown,
    // which is WindowShow's work; restoring waits on the window's program.
    case WindowAction::activate:
      if (IsIconic(target) && is_visible(target)) {
        if (window::is_not_responding(target)) return kFalse;
        ShowWindow(target, SW_RESTORE);
      }
      return true_or_false(SetForegroundWindow(target) == 1);
    // "true" when the window was visible before.
    case WindowAction::minimize:
      return true_or_false(window::was_visible_before(ShowWindow(target, SW_MINIMIZE)));
    case WindowAction::maximize:
      return true_or_false(window::was_visible_before(ShowWindow(target, SW_SHOWMAXIMIZED)));
    // Only queues the request: "true" means it was posted, not that the
    // window has closed; its program may ask its user or refuse.
    case WindowAction::close:
      return true_or_false(PostMessageA(target, WM_CLOSE, 0, 0) == 1);
  }
  return kError;
}

int run_window_command(char* data, HWND main_window, WindowAction action) noexcept {
  return run_text_command(data, main_window, [action](const Text& input, TextEncoding encoding) {
    // A window that is not found is hidden as far as WindowIsVisible goes.
    const std::string_view not_found = action == WindowAction::is_visible ? kFalse : kError;
    return window::answer_for_window(input, encoding, not_found,
                                     [action](HWND target) { return act_on(target, action); });
  });
}

}  // namespace

TOOLCASE_COMMAND(WindowIsVisible) {
  return run_window_command(data, main_window, WindowAction::is_visible);
}
TOOLCASE_COMMAND(WindowShow) { return run_window_command(data, main_window, WindowAction::show); }
TOOLCASE_COMMAND(WindowHide) { return run_window_command(data, main_window, WindowAction::hide); }
TOOLCASE_COMMAND(WindowEnable) {
  return run_window_command(data, main_window, WindowAction::enable);
}
TOOLCASE_COMMAND(WindowDisable) {
  return run_window_command(data, main_window, WindowAction::disable);
}
TOOLCASE_COMMAND(WindowActivate) {
  return run_window_command(data, main_window, WindowAction::activate);
}
TOOLCASE_COMMAND(WindowMinimize) {
  return run_window_command(data, main_window, WindowAction::minimize);
}
TOOLCASE_COMMAND(WindowMaximize) {
  return run_window_command(data, main_window, WindowAction::maximize);
}
TOOLCASE_COMMAND(WindowClose) { return run_window_command(data, main_window, WindowAction::close); }

// "on;window" keeps the window above every window that is not kept on top,
// "off;window" puts it back among them; it is neither moved, sized nor
// activated. "error" for a window that already is as asked.
TOOLCASE_COMMAND(WindowTopmost) {
  return run_text_command(data, main_window, [](const Text& input, TextEncoding encoding) {
    const window::HeadAndWindow parts = window::split_head_and_window(input);
    const bool on = text::keyword_match(parts.head, "on");
    if (!on && !text::keyword_match(parts.head, "off")) return kError;
    const Text window_part(parts.window_part);
    return window::answer_for_window(window_part, encoding, kError, [on](HWND target) {
      const auto is_topmost = [target] {
        return (GetWindowLongA(target, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0;
      };
      if (is_topmost() == on) return kError;
      // Its program handles the change before the call returns.
      if (window::is_not_responding(target)) return kFalse;
      SetWindowPos(target, on ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0,
                   SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
      return true_or_false(is_topmost() == on);
    });
  });
}
