// The one rule that turns a caller's text into a top-level window, and the
// answer every window command gives when no window matches.
#pragma once

#include <windows.h>

#include <string>
#include <string_view>

namespace toolcase::window {

// The top-level window whose class name is the text, else the one whose
// title is the text, else null. The text goes to the platform byte for byte,
// an empty one as an empty text; case and matching are the platform's own.
HWND find_window_target(const std::string& name);

// act(target)'s answer for the window the name finds; not_found, with no
// call on any window, when it finds none.
template <typename Act>
std::string answer_for_window(const std::string& name, std::string_view not_found, Act&& act) {
  const HWND target = find_window_target(name);
  if (target == nullptr) return std::string(not_found);
  return act(target);
}

}  // namespace toolcase::window
