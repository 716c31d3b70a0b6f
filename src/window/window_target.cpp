#include "window/window_target.h"

namespace toolcase::window {

HWND find_window_target(const Text& name) noexcept {
  if (const HWND by_class = FindWindowA(name.c_str(), nullptr)) return by_class;
  return FindWindowA(nullptr, name.c_str());
}

}  // namespace toolcase::window
