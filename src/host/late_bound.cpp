#include "host/late_bound.h"

#include <array>

#include "host/spin_lock.h"

namespace toolcase {

namespace {

// Held for every first look-up, so that a system DLL is loaded only once.
SpinLock look_up_lock;
HMODULE dwmapi = nullptr;
bool dwmapi_tried = false;

// By its full path: a name alone is searched for in the host's folder and the
// current folder first, where anyone could have put a file of that name.
HMODULE load_from_system_folder(const wchar_t* file_name) {
  std::array<wchar_t, MAX_PATH + 16> path;
  const UINT folder = GetSystemDirectoryW(path.data(), MAX_PATH);
  if (folder == 0 || folder >= MAX_PATH) return nullptr;
  std::size_t at = folder;
  path[at++] = L'\\';
  for (const wchar_t* c = file_name; *c != L'\0' && at + 1 < path.size(); ++c) path[at++] = *c;
  path[at] = L'\0';
  return LoadLibraryW(path.data());
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
