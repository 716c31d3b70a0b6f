#include "window/window_target.h"

#include "host/wide_text.h"

namespace toolcase::window {

HWND find_window_target(const Text& name, TextEncoding encoding) noexcept {
  if (encoding == TextEncoding::utf8) {
    const WideText wide(name);
    if (const HWND by_class = FindWindowW(wide.c_str(), nullptr)) return by_class;
    return FindWindowW(nullptr, wide.c_str());
  }
  if (const HWND by_class = FindWindowA(name.c_str(), nullptr)) return by_class;
  return FindWindowA(nullptr, name.c_str());
}

}  // namespace toolcase::window
