// The one rule that turns a caller's text into a top-level window, and the
// answer every window command gives when no window matches.
#pragma once

#include <windows.h>

#include <string_view>
#include <type_traits>

#include "host/frame.h"

namespace toolcase::window {

// The top-level window whose class name is the text, else the one whose
// title is the text, else null. The text goes to the platform unchanged (as
// UTF-16 in a UTF-8 call), an empty one as an empty text; case and matching
// are the platform's own.
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
