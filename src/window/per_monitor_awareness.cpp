#include "window/per_monitor_awareness.h"

#include "host/late_bound.h"

namespace toolcase::window {

namespace {

// DPI_AWARENESS_CONTEXT values: per monitor, version 2 (Windows 10 1703) and
// 1. The platform defines them as handles of small negative numbers.
using AwarenessContext = HANDLE;
// NOLINTNEXTLINE(performance-no-int-to-ptr)
const auto kPerMonitorAwareV2 = reinterpret_cast<AwarenessContext>(-4);
// NOLINTNEXTLINE(performance-no-int-to-ptr)
const auto kPerMonitorAware = reinterpret_cast<AwarenessContext>(-3);
using SetThreadAwareness = AwarenessContext(WINAPI*)(AwarenessContext);
LateBound set_thread_awareness(SystemModule::user32, "SetThreadDpiAwarenessContext");

}  // namespace

PerMonitorAwareness::PerMonitorAwareness() noexcept {
  const auto set = set_thread_awareness.as<SetThreadAwareness>();
  if (set == nullptr) return;
  previous_ = set(kPerMonitorAwareV2);
  if (previous_ == nullptr) previous_ = set(kPerMonitorAware);
}

PerMonitorAwareness::~PerMonitorAwareness() {
  if (previous_ != nullptr) set_thread_awareness.as<SetThreadAwareness>()(previous_);
}

}  // namespace toolcase::window
