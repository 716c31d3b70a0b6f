// A host that is not aware of each monitor's scaling (mIRC) is shown shrunk
// coordinates for the windows of programs that are, and for the monitors
// themselves, and its coordinates are stretched when it sets them. Calls
// that speak the screen's real pixels are made inside a PerMonitorAwareness.
#pragma once

#include <windows.h>

namespace toolcase::window {

// The calling thread aware of each monitor's scaling while it lives, its
// awareness put back afterwards. Before Windows 10 1607 there is no such
// call, and nothing changes.
class PerMonitorAwareness {
 public:
  PerMonitorAwareness() noexcept;
  ~PerMonitorAwareness();
  PerMonitorAwareness(const PerMonitorAwareness&) = delete;
  PerMonitorAwareness& operator=(const PerMonitorAwareness&) = delete;

  // The thread is aware of each monitor now.
  bool per_monitor() const noexcept { return previous_ != nullptr; }

 private:
  // A DPI_AWARENESS_CONTEXT; the platform defines them as handles.
  HANDLE previous_ = nullptr;
};

}  // namespace toolcase::window
