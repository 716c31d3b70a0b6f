#include "host/command.h"

namespace toolcase {

TextEncoding call_encoding(Text& input, HWND main_window) noexcept {
  return choose_encoding(
      input, [main_window] { return main_window != nullptr && IsWindowUnicode(main_window); });
}

}  // namespace toolcase
