// Commands that ask about or change the state of a top-level window named
// by class or title. Each makes its platform calls only on a window found.
#include "host/command.h"
#include "window/window_reports.h"
#include "window/window_target.h"

using namespace toolcase;
using window::answer_for_window;

namespace {

// EnableWindow's flag with all 32 bits set: enable.
constexpr BOOL kEnable = -1;
constexpr BOOL kDisable = 0;

bool is_visible(HWND target) { return IsWindowVisible(target) != 0; }

}  // namespace

TOOLCASE_COMMAND(WindowIsVisible) {
  return run_text_command(data, main_window, [](const Text& input, TextEncoding encoding) {
    return answer_for_window(input, encoding, kFalse,
                             [](HWND target) { return true_or_false(is_visible(target)); });
  });
}

// "error" for a window that is visible already, without showing it again.
TOOLCASE_COMMAND(WindowShow) {
  return run_text_command(data, main_window, [](const Text& input, TextEncoding encoding) {
    return answer_for_window(input, encoding, kError, [](HWND target) {
      if (is_visible(target)) return kError;
      ShowWindow(target, SW_SHOW);
      return true_or_false(is_visible(target));
    });
  });
}

// "error" for a window that is hidden already, without hiding it again.
TOOLCASE_COMMAND(WindowHide) {
  return run_text_command(data, main_window, [](const Text& input, TextEncoding encoding) {
    return answer_for_window(input, encoding, kError, [](HWND target) {
      if (!is_visible(target)) return kError;
      ShowWindow(target, SW_HIDE);
      return true_or_false(!is_visible(target));
    });
  });
}

// "true" when the window was disabled before.
TOOLCASE_COMMAND(WindowEnable) {
  return run_text_command(data, main_window, [](const Text& input, TextEncoding encoding) {
    return answer_for_window(input, encoding, kError, [](HWND target) {
      return true_or_false(window::was_disabled_before(EnableWindow(target, kEnable)));
    });
  });
}

// "true" when the window was enabled before.
TOOLCASE_COMMAND(WindowDisable) {
  return run_text_command(data, main_window, [](const Text& input, TextEncoding encoding) {
    return answer_for_window(input, encoding, kError, [](HWND target) {
      return true_or_false(!window::was_disabled_before(EnableWindow(target, kDisable)));
    });
  });
}

TOOLCASE_COMMAND(WindowActivate) {
  return run_text_command(data, main_window, [](const Text& input, TextEncoding encoding) {
    return answer_for_window(input, encoding, kError, [](HWND target) {
      return true_or_false(SetForegroundWindow(target) == 1);
    });
  });
}

// "true" when the window was visible before.
TOOLCASE_COMMAND(WindowMinimize) {
  return run_text_command(data, main_window, [](const Text& input, TextEncoding encoding) {
    return answer_for_window(input, encoding, kError, [](HWND target) {
      return true_or_false(window::was_visible_before(ShowWindow(target, SW_MINIMIZE)));
    });
  });
}

// "true" when the window was visible before.
TOOLCASE_COMMAND(WindowMaximize) {
  return run_text_command(data, main_window, [](const Text& input, TextEncoding encoding) {
    return answer_for_window(input, encoding, kError, [](HWND target) {
      return true_or_false(window::was_visible_before(ShowWindow(target, SW_SHOWMAXIMIZED)));
    });
  });
}

// Only queues the request: "true" means it was posted, not that the window
// has closed; its program may ask its user or refuse.
TOOLCASE_COMMAND(WindowClose) {
  return run_text_command(data, main_window, [](const Text& input, TextEncoding encoding) {
    return answer_for_window(input, encoding, kError, [](HWND target) {
      return true_or_false(PostMessageA(target, WM_CLOSE, 0, 0) == 1);
    });
  });
}
