// The one rule that turns a caller's text into a top-level window, and the
// answer every window command gives when no window matches.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string_view>
#include <type_traits>

#include "host/frame.h"
#include "host/text.h"

namespace toolcase::window {

// "head;window", as WindowTopmost and WindowMove take their input: the text
// before the first ';' and the window part after it. Without a ';' the head
// is empty, which no command takes.
struct HeadAndWindow {
  std::string_view head;
  std::string_view window_part;
};
inline HeadAndWindow split_head_and_window(std::string_view input) {
  const int separator = text::find_position(input, ";");
  return {text::copy_range(input, 1, separator - 1),
          text::copy_range(input, separator + 1, static_cast<int>(input.size()))};
}

// A window handle as the commands write it: its low 32 bits, which are all
// that Windows shares between 32- and 64-bit programs.
inline std::uint32_t handle_number(HWND window) noexcept {
  return static_cast<std::uint32_t>(reinterpret_cast<std::uintptr_t>(window));
}

// The top-level window whose handle's low 32 bits are the number (as the
// watch events write it), else null; never for a number that names a slot
// alone (upper 16 bits 0 or 0xFFFF).
HWND window_from_handle_number(std::uint32_t number) noexcept;

// "hwnd:N": the top-level window of that handle number, else null (also for
// a malformed number). Any other text: the top-level window whose class name
// is the text, else the one whose title is the text, else null. The text goes
// to the platform unchanged (as UTF-16 in a UTF-8 call), an empty one as an
// empty text; case and matching are the platform's own.
HWND find_window_target(const Text& name, TextEncoding encoding) noexcept;

// act(target)'s answer for the window the name finds; not_found, with no
// call on any window, when it finds none.
template <typename Act>
auto answer_for_window(const Text& name, TextEncoding encoding, std::string_view not_found,
                       Act&& act) {
  using Answer = std::invoke_result_t<Act, HWND>;
  const HWND target = find_window_target(name, encoding);
  if (target == nullptr) return Answer(not_found);
  return act(target);
}

}  // namespace toolcase::window
