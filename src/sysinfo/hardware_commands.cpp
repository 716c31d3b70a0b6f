// GPU, Battery and Board: the display adapter, the power supply and the
// firmware's names of the machine, as Windows reports them.
#include <dxgi.h>

#include <array>
#include <cwchar>
#include <iterator>
#include <optional>

#include "host/command.h"
#include "host/late_bound.h"
#include "host/text.h"
#include "host/unique_handle.h"
#include "host/wide_text.h"
#include "sysinfo/machine_facts.h"
#include "sysinfo/smbios_rules.h"

using namespace toolcase;

namespace {

using CreateFactory = HRESULT(WINAPI*)(REFIID, void**);
LateBound create_dxgi_factory(SystemModule::dxgi, "CreateDXGIFactory1");
// Windows Vista and later (and XP x64, which mIRC's 32-bit DLL never meets).
using FirmwareTable = UINT(WINAPI*)(DWORD, DWORD, PVOID, DWORD);
LateBound system_firmware_table(SystemModule::kernel32, "GetSystemFirmwareTable");

constexpr std::array<text::Keyword<sysinfo::FirmwarePart>, 4> kFirmwareParts{{
    {"", sysinfo::FirmwarePart::board},
    {"board", sysinfo::FirmwarePart::board},
    {"system", sysinfo::FirmwarePart::system},
    {"bios", sysinfo::FirmwarePart::bios},
}};

// The part's names from the SMBIOS table, in the call's encoding: the
// firmware's bytes are Windows-1252, converted as Windows converts them.
Text firmware_names(sysinfo::FirmwarePart part, TextEncoding encoding) {
  const auto table = system_firmware_table.as<FirmwareTable>();
  constexpr DWORD kRawSmbios = 'R' << 24 | 'S' << 16 | 'M' << 8 | 'B';
  if (table == nullptr) return Text();
  // The table may change between the call that sizes it and the next.
  for (int attempt = 0; attempt < 2; ++attempt) {
    const UINT size = table(kRawSmbios, 0, nullptr, 0);
    if (size == 0) return Text();
    const unique_pages pages(VirtualAlloc(nullptr, size, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE));
    if (!pages) return Text();
    const UINT written = table(kRawSmbios, 0, pages.get(), size);
    if (written == 0 || written > size) continue;
    const Text names =
        sysinfo::firmware_names(std::span(static_cast<const unsigned char*>(pages.get()), written), part);
    std::array<wchar_t, kDataBufferSize> wide{};
    const int units = MultiByteToWideChar(1252, 0, names.c_str(), static_cast<int>(names.size()), wide.data(),
                                          static_cast<int>(wide.size() - 1));
    return text_in_encoding(std::wstring_view(wide.data(), static_cast<std::size_t>(units)), encoding);
  }
  return Text();
}

// The graphics card a sysinfo line means, from DirectX's list of adapters:
// the hardware one with the most video memory of its own, the first listed
// on a tie (a 32-bit program sees at most 4 GB of it). The adapter that
// drives the primary display is the integrated one on most laptops that have
// another, and Windows' basic render driver is flagged software. Empty where
// DirectX is missing or lists no hardware adapter.
Text graphics_card(TextEncoding encoding) {
  const auto create = create_dxgi_factory.as<CreateFactory>();
  IDXGIFactory1* created = nullptr;
  if (create == nullptr || FAILED(create(__uuidof(IDXGIFactory1), reinterpret_cast<void**>(&created)))) {
    return Text();
  }
  const unique_com<IDXGIFactory1> factory(created);
  DXGI_ADAPTER_DESC1 best{};
  bool found = false;
  IDXGIAdapter1* listed = nullptr;
  for (UINT index = 0; factory.get()->EnumAdapters1(index, &listed) == S_OK; ++index) {
    const unique_com<IDXGIAdapter1> adapter(listed);
    DXGI_ADAPTER_DESC1 description{};
    if (FAILED(adapter.get()->GetDesc1(&description)) ||
        (description.Flags & DXGI_ADAPTER_FLAG_SOFTWARE) != 0) {
      continue;
    }
    if (!found || description.DedicatedVideoMemory > best.DedicatedVideoMemory) best = description;
    found = true;
  }
  if (!found) return Text();
  return text_in_encoding(std::wstring_view(best.Description, wcsnlen(best.Description, std::size(best.Description))), encoding);
}

}  // namespace

// The graphics card, else the name of the first device that drives the
// primary display, read wide in either call. A mirroring driver
// (remote-control programs install them) shows what another device drives,
// and is never the answer.
TOOLCASE_COMMAND(GPU) {
  return run_text_command(data, main_window, [](const Text&, TextEncoding encoding) {
    if (const Text card = graphics_card(encoding); !card.empty()) return card;
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

// "" or "board", "system", "bios": the firmware's names of the motherboard,
// the computer and its BIOS; "false" where it gives none (and before Vista).
TOOLCASE_COMMAND(Board) {
  return run_text_command(data, main_window, [](const Text& input, TextEncoding encoding) {
    const std::optional<sysinfo::FirmwarePart> part = text::look_up(kFirmwareParts, input);
    if (!part) return Text(kError);
    const Text names = firmware_names(*part, encoding);
    return names.empty() ? Text(kFalse) : names;
  });
}
