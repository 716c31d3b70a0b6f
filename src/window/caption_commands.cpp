// Commands that read and set the caption of a top-level window named by
// class or title.
#include "host/command.h"
#include "host/module_strings.h"
#include "host/wide_text.h"
#include "window/caption_change.h"
#include "window/not_responding.h"
#include "window/window_target.h"

using namespace toolcase;
using window::answer_for_window;

namespace {

constexpr int kCaptionArraySize = 256;
// One less than the array: the platform writes at most 254 characters (bytes,
// or UTF-16 units in a UTF-8 call) and a NUL.
constexpr int kCaptionMaxCount = kCaptionArraySize - 1;

}  // namespace

// The caption itself; "false" when it is empty or cannot be read.
TOOLCASE_COMMAND(WindowText) {
  return run_text_command(data, main_window, [](const Text& input, TextEncoding encoding) {
    return answer_for_window(input, encoding, kError, [encoding](HWND target) {
      // Cleared first, so a call that delivers nothing reads as empty.
      Text text;
      if (encoding == TextEncoding::utf8) {
        wchar_t caption[kCaptionArraySize] = {};
        GetWindowTextW(target, caption, kCaptionMaxCount);
        text = text_from_wide(caption);
      } else {
        char caption[kCaptionArraySize] = {};
        GetWindowTextA(target, caption, kCaptionMaxCount);
        text = text_from_ansi(caption);
      }
      return text.empty() ? Text(kFalse) : text;
    });
  });
}

// "window;caption": both parts are kept in the module strings before the
// lookup, so they hold this call's parts whatever the answer.
TOOLCASE_COMMAND(ChangeWindowText) {
  return run_text_command(data, main_window, [](const Text& input, TextEncoding encoding) {
    const window::CaptionChange change = window::split_caption_change(input);
    CaptionTarget.assign(change.window_part);
    CaptionText.assign(change.new_caption);
    // The call's own parts, not the module strings read back: a caller on
    // another thread may have assigned those since.
    const Text window_part(change.window_part);
    return answer_for_window(window_part, encoding, kError, [&change, encoding](HWND target) {
      if (window::is_not_responding(target)) return kFalse;
      const BOOL set = encoding == TextEncoding::utf8
                           ? SetWindowTextW(target, WideText(change.new_caption).c_str())
                           : SetWindowTextA(target, Text(change.new_caption).c_str());
      return true_or_false(set == 1);
    });
  });
}
