// Platform functions that the oldest Windows of a DLL's bitness lacks, or that
// live in a system DLL the host may not have loaded (dwmapi.dll, shcore.dll, dxgi.dll,
// wtsapi32.dll, shell32.dll, iphlpapi.dll, ole32.dll): each is
// looked up by name on its first use and kept until unload. Loading the DLL
// looks up nothing, and it still loads where a function is missing.
#pragma once

#include <windows.h>

#include <atomic>

namespace toolcase {

enum class SystemModule {
  kernel32,  // always loaded
  user32,    // loaded with the host's windows
  gdi32,     // loaded with user32, which imports it
  dwmapi,    // loaded from the system folder on first use, given back at unload
  shcore,    // the same (Windows 8.1 and later)
  dxgi,      // the same (Windows 7, and Vista with its platform update)
  wtsapi32,  // the same
  shell32,   // the same
  iphlpapi,  // the same
  ole32,     // the same
};

class LateBound {
 public:
  constexpr LateBound(SystemModule module, const char* name) noexcept
      : module_(module), name_(name) {}
  LateBound(const LateBound&) = delete;
  LateBound& operator=(const LateBound&) = delete;

  // The function as its own type, or null where Windows has no such module
  // or function.
  template <typename Function>
  Function as() noexcept {
    // Through void(*)(), the generic function pointer type.
    return reinterpret_cast<Function>(reinterpret_cast<void (*)()>(address()));
  }

 private:
  FARPROC address() noexcept;

  SystemModule module_;
  const char* name_;
  FARPROC address_ = nullptr;
  std::atomic<bool> looked_up_{false};
};

// Gives back the system DLLs that look-ups loaded. Only at unload, and not
// when the process is ending, when no DLL may be freed.
void release_late_bound_modules() noexcept;

}  // namespace toolcase
