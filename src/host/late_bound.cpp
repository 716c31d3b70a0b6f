#include "host/late_bound.h"

#include <array>

#include "host/spin_lock.h"
#include "host/system_folder.h"
#include "host/wts_memory.h"

namespace toolcase {

namespace {

// Held for every first look-up, so that a system DLL is loaded only once.
SpinLock look_up_lock;
// A system DLL that the host may not have loaded, loaded on its first look-up.
struct LoadedModule {
  const wchar_t* file_name;
  HMODULE handle;
  bool tried;  // Windows may have no such DLL: tried once per load, not at every call
};
LoadedModule dwmapi{L"dwmapi.dll", nullptr, false};
LoadedModule shcore{L"shcore.dll", nullptr, false};
LoadedModule dxgi{L"dxgi.dll", nullptr, false};
LoadedModule wtsapi32{L"wtsapi32.dll", nullptr, false};
LoadedModule shell32{L"shell32.dll", nullptr, false};
LoadedModule iphlpapi{L"iphlpapi.dll", nullptr, false};
LoadedModule ole32{L"ole32.dll", nullptr, false};

HMODULE load_from_system_folder(std::wstring_view file_name) {
  std::array<wchar_t, MAX_PATH> path;
  return path_in_system_folder(file_name, path) ? LoadLibraryW(path.data()) : nullptr;
}

HMODULE loaded(LoadedModule& module) {
  if (!module.tried) {
    module.tried = true;
    module.handle = load_from_system_folder(module.file_name);
  }
  return module.handle;
}

HMODULE module_handle(SystemModule module) {
  switch (module) {
    case SystemModule::kernel32: return GetModuleHandleA("kernel32.dll");
    case SystemModule::user32: return GetModuleHandleA("user32.dll");
    case SystemModule::gdi32: return GetModuleHandleA("gdi32.dll");
    case SystemModule::dwmapi: return loaded(dwmapi);
    case SystemModule::shcore: return loaded(shcore);
    case SystemModule::dxgi: return loaded(dxgi);
    case SystemModule::wtsapi32: return loaded(wtsapi32);
    case SystemModule::shell32: return loaded(shell32);
    case SystemModule::iphlpapi: return loaded(iphlpapi);
    case SystemModule::ole32: return loaded(ole32);
  }
  return nullptr;
}

}  // namespace

LateBound wts_free_memory(SystemModule::wtsapi32, "WTSFreeMemory");

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
  for (LoadedModule* module : {&dwmapi, &shcore, &dxgi, &wtsapi32, &shell32, &iphlpapi, &ole32}) {
    if (module->handle != nullptr) FreeLibrary(module->handle);
    module->handle = nullptr;
  }
}

}  // namespace toolcase
