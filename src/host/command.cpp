#include "host/command.h"

namespace toolcase {

TextEncoding read_text_input(const char* data, HWND main_window, Text& input) noexcept {
  input = read_input(data);
  return choose_encoding(
      input, [main_window] { return main_window != nullptr && IsWindowUnicode(main_window); });
}

}  // namespace toolcase
