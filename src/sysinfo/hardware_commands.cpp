// GPU and Battery: the display adapter and the power supply, as Windows
// reports them.
#include "host/command.h"
#include "host/text.h"
#include "host/wide_text.h"
#include "sysinfo/machine_facts.h"

using namespace toolcase;

// The name of the first device that drives the primary display, read wide
// in either call. A mirroring driver (remote-control programs install them)
// shows what another device drives, and is never the answer.
TOOLCASE_COMMAND(GPU) {
  return run_text_command(data, main_window, [](const Text&, TextEncoding encoding) {
    DISPLAY_DEVICEW device{};
    device.cb = sizeof device;
    for (DWORD index = 0; EnumDisplayDevicesW(nullptr, index, &device, 0); ++index) {
      if ((device.StateFlags & DISPLAY_DEVICE_PRIMARY_DEVICE) != 0 &&
          (device.StateFlags & DISPLAY_DEVICE_MIRRORING_DRIVER) == 0) {
        const Text adapter = text_in_encoding(device.DeviceString, encoding);
        if (!adapter.empty()) return adapter;
      }
    }
    return Text(kFalse);
  });
}

TOOLCASE_COMMAND(Battery) {
  return run_command(data, [](const Text& input) {
    SYSTEM_POWER_STATUS reported{};
    // Unknown throughout when Windows cannot say.
    sysinfo::PowerStatus status{255, 255, 255};
    if (GetSystemPowerStatus(&reported)) {
      status = {reported.ACLineStatus, reported.BatteryFlag, reported.BatteryLifePercent};
    }
    if (text::keyword_match(input, "level")) return sysinfo::battery_level(status);
    if (text::keyword_match(input, "power")) return sysinfo::FactText(sysinfo::power_source(status));
    if (text::keyword_match(input, "charging")) return sysinfo::FactText(sysinfo::charging(status));
    return sysinfo::FactText(kError);
  });
}
