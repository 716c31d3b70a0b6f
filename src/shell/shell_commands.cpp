// Shell commands: screen saver, Start button, desktop icons. The shell's
// windows are found by their fixed class names afresh on every call. A lookup
// that finds nothing is not an error of its own: the null handle goes on into
// the next call, whose report then decides the answer.
#include "host/command.h"
#include "shell/shell_requests.h"
#include "window/window_reports.h"

using namespace toolcase;
using shell::DesktopIconsRequest;
using shell::StartButtonRequest;

namespace {

HWND taskbar() { return FindWindowA("Shell_TrayWnd", nullptr); }

HWND start_button() { return FindWindowExA(taskbar(), nullptr, "Button", nullptr); }

// The window holding the desktop icons, under the program manager.
HWND desktop_view() {
  return FindWindowExA(FindWindowA("Progman", nullptr), nullptr, "ShellDll_DefView", nullptr);
}

// The program manager's child at the top of the Z order.
HWND desktop_top_child() { return GetWindow(FindWindowA("ProgMan", nullptr), GW_CHILD); }

// Sent, not posted: the answer is the outcome of the taskbar's own handling.
std::string_view send_to_taskbar(WPARAM system_command) {
  return true_or_false(SendMessageA(taskbar(), WM_SYSCOMMAND, system_command, 0) == 0);
}

// ShowWindow's own report is not used here: a window may refuse, or stay
// unseen behind a hidden parent, so visibility is asked before and after.
std::string_view set_desktop_child_visible(bool visible) {
  const HWND child = desktop_top_child();
  const auto is_visible = [child] { return IsWindowVisible(child) != FALSE; };
  if (is_visible() == visible) return kError;
  ShowWindow(child, visible ? SW_SHOW : SW_HIDE);
  return true_or_false(is_visible() == visible);
}

// TRUE as a 32-bit truth value with every bit set; EnableWindow reads any
// nonzero value as TRUE.
constexpr BOOL kEnableAllBits = -1;

}  // namespace

TOOLCASE_COMMAND(DesktopIcons) {
  return run_command(data, [](const Text& input) {
    switch (shell::desktop_icons_request(input)) {
      case DesktopIconsRequest::disable:
        return shell::state_change_answer(
            window::was_disabled_before(EnableWindow(desktop_view(), FALSE)));
      case DesktopIconsRequest::enable:
        return shell::state_change_answer(
            !window::was_disabled_before(EnableWindow(desktop_view(), kEnableAllBits)));
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
  return run_command(data, [](const Text& input) {
    switch (shell::start_button_request(input)) {
      case StartButtonRequest::show:
        return shell::state_change_answer(
            window::was_visible_before(ShowWindow(start_button(), SW_SHOW)));
      case StartButtonRequest::hide:
        return shell::state_change_answer(
            !window::was_visible_before(ShowWindow(start_button(), SW_HIDE)));
      case StartButtonRequest::simulate:
        return send_to_taskbar(SC_TASKLIST);
      case StartButtonRequest::none:
        break;
    }
    return kError;
  });
}

TOOLCASE_COMMAND(ScreenSaver) {
  return run_command(data, [](const Text&) { return send_to_taskbar(SC_SCREENSAVE); });
}
