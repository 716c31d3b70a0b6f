// Monitor: the monitors Windows shows the desktop on, in the screen's real
// pixels, as WindowPos and WindowMove speak them: every call here is made
// with the thread aware of each monitor's scaling.
#include <array>
#include <cwchar>

#include "display/monitor_rules.h"
#include "host/command.h"
#include "host/late_bound.h"
#include "window/per_monitor_awareness.h"
#include "window/placement_text.h"
#include "window/window_place.h"
#include "window/window_target.h"

using namespace toolcase;

namespace {

using GetDpiForMonitor = HRESULT(WINAPI*)(HMONITOR, int, UINT*, UINT*);
constexpr int kEffectiveDpi = 0;  // MDT_EFFECTIVE_DPI
constexpr UINT kUnscaledDpi = 96;
LateBound dpi_for_monitor(SystemModule::shcore, "GetDpiForMonitor");
using GetDeviceCaps = int(WINAPI*)(HDC, int);
LateBound device_caps(SystemModule::gdi32, "GetDeviceCaps");

// Monitors in their numbering: the primary one first, the others in the
// order Windows lists them.
struct Monitors {
  static constexpr std::size_t kMost = 32;
  std::array<HMONITOR, kMost> handles;
  std::array<MONITORINFO, kMost> info;
  std::size_t count;
};

// A mirroring driver's pseudo-monitor shows what another one shows, and
// Windows does not count it (SM_CMONITORS).
bool is_mirroring(const wchar_t* device_name) {
  DISPLAY_DEVICEW device{};
  device.cb = sizeof device;
  for (DWORD index = 0; EnumDisplayDevicesW(nullptr, index, &device, 0); ++index) {
    if (std::wcscmp(device.DeviceName, device_name) == 0) {
      return (device.StateFlags & DISPLAY_DEVICE_MIRRORING_DRIVER) != 0;
    }
  }
  return false;
}

BOOL CALLBACK add_monitor(HMONITOR monitor, HDC, LPRECT, LPARAM list_address) {
  // NOLINTNEXTLINE(performance-no-int-to-ptr): the list's address, as EnumDisplayMonitors passes it
  auto& list = *reinterpret_cast<Monitors*>(list_address);
  MONITORINFOEXW info{};
  info.cbSize = sizeof info;
  if (list.count == Monitors::kMost || !GetMonitorInfoW(monitor, &info) ||
      is_mirroring(info.szDevice)) {
    return TRUE;
  }
  // The primary monitor moves to the front.
  std::size_t at = list.count++;
  if ((info.dwFlags & MONITORINFOF_PRIMARY) != 0) {
    for (; at > 0; --at) {
      list.handles[at] = list.handles[at - 1];
      list.info[at] = list.info[at - 1];
    }
  }
  list.handles[at] = monitor;
  list.info[at] = info;
  return TRUE;
}

Monitors list_monitors() {
  Monitors list{};
  EnumDisplayMonitors(nullptr, nullptr, add_monitor, reinterpret_cast<LPARAM>(&list));
  return list;
}

window::PlacementText area_text(const RECT& area) {
  return window::placement_text(area.left, area.top, area.right - area.left,
                                area.bottom - area.top);
}

// The monitor's own DPI (Windows 8.1 and later), else the system's.
UINT dpi_of(HMONITOR monitor) {
  UINT x = 0, y = 0;
  if (const auto get = dpi_for_monitor.as<GetDpiForMonitor>();
      get != nullptr && get(monitor, kEffectiveDpi, &x, &y) == S_OK && x != 0) {
    return x;
  }
  const auto caps = device_caps.as<GetDeviceCaps>();
  const HDC screen = GetDC(nullptr);
  const int dpi = caps != nullptr && screen != nullptr ? caps(screen, LOGPIXELSX) : 0;
  if (screen != nullptr) ReleaseDC(nullptr, screen);
  return dpi > 0 ? static_cast<UINT>(dpi) : kUnscaledDpi;
}

display::Area area_of(const RECT& rect) { return {rect.left, rect.top, rect.right, rect.bottom}; }

}  // namespace

TOOLCASE_COMMAND(Monitor) {
  return run_text_command(data, main_window, [](const Text& input, TextEncoding encoding) {
    using Kind = display::MonitorRequest::Kind;
    const display::MonitorRequest request = display::parse_monitor_request(input);
    if (request.kind == Kind::invalid) return Text(kError);
    const window::PerMonitorAwareness awareness;
    const Monitors monitors = list_monitors();
    if (request.kind == Kind::count) return Text(text::integer_to_text(static_cast<int>(monitors.count)));
    if (request.kind == Kind::window) {
      const Text window_part(request.window_part);
      return window::answer_for_window(window_part, encoding, kError, [&monitors, &awareness](HWND target) {
        std::array<display::Area, Monitors::kMost> areas;
        for (std::size_t i = 0; i < monitors.count; ++i) areas[i] = area_of(monitors.info[i].rcMonitor);
        const int number = display::area_holding_most(std::span(areas.data(), monitors.count),
                                                       area_of(window::drawn_place(target, awareness)));
        return Text(text::integer_to_text(number));
      });
    }
    if (static_cast<std::size_t>(request.number) > monitors.count) return Text(kError);
    const std::size_t index = static_cast<std::size_t>(request.number) - 1;
    if (request.kind == Kind::work_area) return Text(area_text(monitors.info[index].rcWork));
    if (request.kind == Kind::scale) return Text(display::scale_percent(dpi_of(monitors.handles[index])));
    return Text(area_text(monitors.info[index].rcMonitor));
  });
}
