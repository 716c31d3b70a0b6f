#include "host/late_bound.h"

#include <array>

#include "host/spin_lock.h"
#include "host/system_folder.h"

namespace toolcase {

namespace {

// Held for every first look-up, so that a system DLL is loaded only once.
SpinLock look_up_lock;
HMODULE dwmapi = nullptr;
bool dwmapi_tried = false;

HMODULE load_from_system_folder(std::wstring_view file_name) {
  std::array<wchar_t, MAX_PATH> path;
  return path_in_system_folder(file_name, path) ? LoadLibraryW(path.data()) : nullptr;
}

HMODULE module_handle(SystemModule module) {
  switch (module) {
    case SystemModule::kernel32: return GetModuleHandleA("kernel32.dll");
    case SystemModule::user32: return GetModuleHandleA("user32.dll");
    case SystemModule::dwmapi:
      // Windows XP has none: tried once per load, not at every call.
      if (!dwmapi_tried) {
        dwmapi_tried = true;
        dwmapi = load_from_system_folder(L"dwmapi.dll");
      }
      return dwmapi;
  }
  return nullptr;
}

}  // namespace

FARPROC LateBound::address() noexcept {
  if (!looked_up_.load(std::memory_order_acquire)) {
    const SpinLock::Guard guard(look_up_lock);
    if (!looked_up_.load(std::memory_order_relaxed)) {
      const HMODULE module = module_handle(module_);
      address_ = module != nullptr ? GetProcAddress(module, name_) : nullptr;
      looked_up_.store(true, std::memory_order_release);
    }
  }
  return address_;
}

void release_late_bound_modules() noexcept {
  if (dwmapi != nullptr) FreeLibrary(dwmapi);
  dwmapi = nullptr;
}

}  // namespace toolcase
