#include "window/dwm.h"

#include "host/late_bound.h"

namespace toolcase::window {

namespace {

using GetWindowAttribute = HRESULT(WINAPI*)(HWND, DWORD, PVOID, DWORD);
LateBound get_window_attribute(SystemModule::dwmapi, "DwmGetWindowAttribute");

}  // namespace

bool dwm_attribute(HWND window, DWORD attribute, void* value, DWORD size) noexcept {
  const auto get = get_window_attribute.as<GetWindowAttribute>();
  return get != nullptr && get(window, attribute, value, size) == S_OK;
}

}  // namespace toolcase::window
