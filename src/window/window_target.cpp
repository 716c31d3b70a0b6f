#include "window/window_target.h"

#include <cstdint>

#include "host/text.h"
#include "host/wide_text.h"

namespace toolcase::window {

HWND window_from_handle_number(std::uint32_t number) noexcept {
  // Windows takes a handle whose upper 16 bits are 0 or 0xFFFF for whatever
  // window holds that slot now; no window's own handle has such bits.
  const std::uint32_t upper = number >> 16;
  if (upper == 0 || upper == 0xFFFF) return nullptr;
  // Handles are shared between 32- and 64-bit programs by their low 32 bits,
  // which the x64 platform widens with their sign.
  // NOLINTNEXTLINE(performance-no-int-to-ptr): a handle given as a number
  const auto window = reinterpret_cast<HWND>(static_cast<std::intptr_t>(static_cast<std::int32_t>(number)));
  // A top-level window's parent is the desktop: an owned pop-up is one, a
  // child or a message-only window is not.
  return IsWindow(window) && GetAncestor(window, GA_PARENT) == GetDesktopWindow() ? window : nullptr;
}

HWND find_window_target(const Text& name, TextEncoding encoding) noexcept {
  if (const text::PrefixedId handle = text::parse_prefixed_id(name, "hwnd:"); handle.has_prefix) {
    return window_from_handle_number(handle.id);
  }
  if (encoding == TextEncoding::utf8) {
    const WideText wide(name);
    if (const HWND by_class = FindWindowW(wide.c_str(), nullptr)) return by_class;
    return FindWindowW(nullptr, wide.c_str());
  }
  if (const HWND by_class = FindWindowA(name.c_str(), nullptr)) return by_class;
  return FindWindowA(nullptr, name.c_str());
}

}  // namespace toolcase::window
