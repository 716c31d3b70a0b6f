// Shell commands: screen saver, Start button, desktop icons. The shell's
// windows are found by their fixed class names afresh on every call, in each
// place that some Windows since XP keeps them. A child is looked up only under
// a parent that was found (a null parent would search every program's
// top-level windows), and a command that finds no window of the shell acts on
// nothing and answers "error".
//
// Every call here that changes a shell window waits until the shell's thread
// has handled it. A shell that has stopped responding (Explorer waiting for a
// network drive) is left alone and answers "false": the host's thread, which
// keeps its IRC connections alive, is never held until it recovers.
#include "host/command.h"
#include "host/function_ref.h"
#include "shell/screen_saver.h"
#include "shell/shell_requests.h"
#include "window/not_responding.h"
#include "window/window_reports.h"

using namespace toolcase;
using shell::DesktopIconsRequest;
using shell::StartButtonRequest;

namespace {

constexpr char kDesktopViewClass[] = "ShellDll_DefView";

HWND taskbar() { return FindWindowA("Shell_TrayWnd", nullptr); }

HWND first_child(HWND parent, const char* class_name) {
  return FindWindowExA(parent, nullptr, class_name, nullptr);
}

// The first top-level window of the class that `accept` takes, in Z order;
// null when it takes none.
HWND first_top_level(const char* class_name, FunctionRef<bool(HWND)> accept) {
  for (HWND window = first_child(nullptr, class_name); window;
       window = FindWindowExA(nullptr, window, class_name, nullptr)) {
    if (accept(window)) return window;
  }
  return nullptr;
}

// XP: the taskbar's "Button" child. 8.1 to 11: its "Start" child. Vista and
// 7: the "orb", a top-level "Button" of the taskbar's own thread; a button
// of any other thread is another program's.
HWND start_button(HWND taskbar) {
  if (const HWND button = first_child(taskbar, "Button")) return button;
  if (const HWND start = first_child(taskbar, "Start")) return start;
  const DWORD shell_thread = GetWindowThreadProcessId(taskbar, nullptr);
  return first_top_level("Button", [shell_thread](HWND button) {
    return GetWindowThreadProcessId(button, nullptr) == shell_thread;
  });
}

// Shows or hides the Start button, and that of each extra monitor's taskbar
// (8.1 to 11); the main taskbar's report answers.
std::string_view show_start_buttons(bool visible) {
  const HWND main_taskbar = taskbar();
  const HWND button = main_taskbar ? start_button(main_taskbar) : nullptr;
  if (!button) return kError;
  if (window::is_not_responding(button)) return kFalse;
  const int command = visible ? SW_SHOW : SW_HIDE;
  const bool was_visible = window::was_visible_before(ShowWindow(button, command));
  // Takes none, so every secondary taskbar is visited.
  first_top_level("Shell_SecondaryTrayWnd", [command](HWND secondary_taskbar) {
    const HWND start = first_child(secondary_taskbar, "Start");
    if (start && !window::is_not_responding(start)) ShowWindow(start, command);
    return false;
  });
  return shell::state_change_answer(was_visible == visible);
}

// A raised desktop (7 with Aero, slideshow wallpapers, 8 to 11 23H2) holds
// its view in a top-level "WorkerW" rather than in the program manager.
HWND raised_desktop_view() {
  HWND view = nullptr;
  first_top_level("WorkerW", [&view](HWND worker) {
    view = first_child(worker, kDesktopViewClass);
    return view != nullptr;
  });
  return view;
}

// The window holding the desktop icons.
HWND desktop_view() {
  if (const HWND program_manager = FindWindowA("Progman", nullptr)) {
    if (const HWND view = first_child(program_manager, kDesktopViewClass)) return view;
  }
  return raised_desktop_view();
}

// The program manager's child at the top of the Z order, else the view of a
// raised desktop.
HWND desktop_top_child() {
  if (const HWND program_manager = FindWindowA("ProgMan", nullptr)) {
    if (const HWND child = GetWindow(program_manager, GW_CHILD)) return child;
  }
  return raised_desktop_view();
}

std::string_view enable_desktop_view(bool enable) {
  const HWND view = desktop_view();
  if (!view) return kError;
  if (window::is_not_responding(view)) return kFalse;
  const window::EnableOutcome outcome = window::set_enabled(view, enable);
  if (outcome == window::EnableOutcome::refused) return kFalse;
  return shell::state_change_answer(outcome == window::EnableOutcome::already);
}

// ShowWindow's own report is not used here: a window may refuse, or stay
// unseen behind a hidden parent, so visibility is asked before and after.
std::string_view set_desktop_child_visible(bool visible) {
  const HWND child = desktop_top_child();
  if (!child) return kError;
  if (window::is_not_responding(child)) return kFalse;
  const auto is_visible = [child] { return IsWindowVisible(child) != FALSE; };
  if (is_visible() == visible) return kError;
  ShowWindow(child, visible ? SW_SHOW : SW_HIDE);
  return true_or_false(is_visible() == visible);
}

// Long enough for a busy shell to start the screen saver or open the menu.
constexpr UINT kTaskbarReplyMilliseconds = 5000;

// Sent, not posted: the answer is the outcome of the taskbar's own handling,
// unless it is not responding or gives none in time. A host that must not be
// paused gets Windows' word that the request was queued.
std::string_view send_to_taskbar(WPARAM system_command, BOOL no_pause) {
  const HWND main_taskbar = taskbar();
  if (!main_taskbar) return kError;
  if (no_pause != FALSE) {
    return true_or_false(PostMessageA(main_taskbar, WM_SYSCOMMAND, system_command, 0) != FALSE);
  }
  DWORD_PTR reply = 0;
  const bool handled = SendMessageTimeoutA(main_taskbar, WM_SYSCOMMAND, system_command, 0,
                                           SMTO_ABORTIFHUNG, kTaskbarReplyMilliseconds,
                                           &reply) != 0;
  return true_or_false(handled && reply == 0);
}

}  // namespace

TOOLCASE_COMMAND(DesktopIcons) {
  return run_command(data, [](const Text& input) {
    switch (shell::desktop_icons_request(input)) {
      case DesktopIconsRequest::disable:
        return enable_desktop_view(false);
      case DesktopIconsRequest::enable:
        return enable_desktop_view(true);
      case DesktopIconsRequest::show:
        return set_desktop_child_visible(true);
      case DesktopIconsRequest::hide:
        return set_desktop_child_visible(false);
      case DesktopIconsRequest::none:
        break;
    }
    return kError;
  });
}

TOOLCASE_COMMAND(StartButton) {
  return run_command(data, [no_pause](const Text& input) {
    switch (shell::start_button_request(input)) {
      case StartButtonRequest::show:
        return show_start_buttons(true);
      case StartButtonRequest::hide:
        return show_start_buttons(false);
      case StartButtonRequest::simulate:
        return send_to_taskbar(SC_TASKLIST, no_pause);
      case StartButtonRequest::none:
        break;
    }
    return kError;
  });
}

TOOLCASE_COMMAND(ScreenSaver) {
  return run_command(data, [no_pause](const Text&) {
    // With none chosen the taskbar answers as if it had started one.
    return shell::screen_saver_is_chosen() ? send_to_taskbar(SC_SCREENSAVE, no_pause) : kFalse;
  });
}
