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
#include "sysinfo/registry_values.h"
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

// The kernel's graphics interface (gdi32, Windows 8 and later), by the
// adapter's LUID: D3DKMT_OPENADAPTERFROMLUID, D3DKMT_QUERYADAPTERINFO with
// KMTQAITYPE_GETSEGMENTSIZE, D3DKMT_SEGMENTSIZEINFO, D3DKMT_CLOSEADAPTER.
struct OpenAdapterFromLuid {
  LUID luid;
  UINT adapter;
};
struct QueryAdapterInfo {
  UINT adapter;
  UINT type;
  void* data;
  UINT size;
};
struct SegmentSizes {
  std::uint64_t dedicated_video, dedicated_system, shared_system;
};
constexpr UINT kSegmentSizeQuery = 3;
using KernelGraphicsCall = LONG(APIENTRY*)(void*);
LateBound open_adapter_from_luid(SystemModule::gdi32, "D3DKMTOpenAdapterFromLuid");
LateBound query_adapter_info(SystemModule::gdi32, "D3DKMTQueryAdapterInfo");
LateBound close_adapter(SystemModule::gdi32, "D3DKMTCloseAdapter");

// An adapter opened through the kernel's graphics interface: 0 when none.
struct KernelAdapterTraits {
  using pointer = UINT;
  static pointer invalid() noexcept { return 0; }
  static void close(pointer adapter) noexcept {
    if (const auto close_call = close_adapter.as<KernelGraphicsCall>()) close_call(&adapter);
  }
};
using unique_kernel_adapter = UniqueHandle<KernelAdapterTraits>;

std::optional<std::uint64_t> kernel_dedicated_memory(const LUID& luid) {
  const auto open = open_adapter_from_luid.as<KernelGraphicsCall>();
  const auto query = query_adapter_info.as<KernelGraphicsCall>();
  if (open == nullptr || query == nullptr || close_adapter.as<KernelGraphicsCall>() == nullptr) return std::nullopt;
  OpenAdapterFromLuid opening{luid, 0};
  if (open(&opening) < 0) return std::nullopt;
  const unique_kernel_adapter adapter(opening.adapter);
  SegmentSizes sizes{};
  QueryAdapterInfo asking{adapter.get(), kSegmentSizeQuery, &sizes, sizeof sizes};
  if (query(&asking) < 0) return std::nullopt;
  return sizes.dedicated_video;
}

// The figure the display driver stored for the card (Windows 7 has only
// this): the class key of display adapters, the driver key whose device id
// names the card's vendor and device.
std::optional<std::uint64_t> stored_dedicated_memory(const DXGI_ADAPTER_DESC1& card) {
  constexpr wchar_t kDisplayClass[] = L"SYSTEM\\CurrentControlSet\\Control\\Class\\{4d36e968-e325-11ce-bfc1-08002be10318}\\";
  constexpr wchar_t kHex[] = L"0123456789abcdef";
  // "ven_10de&dev_2860", as the device id names them in any case.
  std::array<wchar_t, 18> wanted{L"ven_0000&dev_0000"};
  for (int digit = 0; digit < 4; ++digit) {
    wanted[7 - digit] = kHex[(card.VendorId >> (4 * digit)) & 0xF];
    wanted[16 - digit] = kHex[(card.DeviceId >> (4 * digit)) & 0xF];
  }
  const std::wstring_view wanted_id(wanted.data(), wanted.size() - 1);
  for (int index = 0; index < 32; ++index) {
    std::array<wchar_t, std::size(kDisplayClass) + 4> path{};
    std::copy(std::begin(kDisplayClass), std::end(kDisplayClass) - 1, path.begin());
    for (int digit = 0, rest = index; digit < 4; ++digit, rest /= 10) {
      path[std::size(kDisplayClass) - 1 + 3 - digit] = static_cast<wchar_t>(L'0' + rest % 10);
    }
    const sysinfo::MachineKey driver(path.data());
    sysinfo::RegistryString value;
    std::wstring_view device_id = driver.string(L"MatchingDeviceId", value);
    std::array<wchar_t, 128> lowered{};
    for (std::size_t i = 0; i < device_id.size() && i < lowered.size(); ++i) {
      lowered[i] = device_id[i] >= L'A' && device_id[i] <= L'Z' ? static_cast<wchar_t>(device_id[i] + 32) : device_id[i];
    }
    device_id = std::wstring_view(lowered.data(), std::min(device_id.size(), lowered.size()));
    if (device_id.find(wanted_id) == device_id.npos) continue;
    if (const auto stored = driver.quad_number(L"HardwareInformation.qwMemorySize")) return stored;
  }
  return std::nullopt;
}

// The card's own video memory, exact beyond 4 GB in both DLLs: the kernel's
// figure, else the driver's stored one, else DirectX's, which a 32-bit
// program sees cut at 4 GB (all bits set then: no figure).
std::optional<std::uint64_t> dedicated_memory(const DXGI_ADAPTER_DESC1& card) {
  if (const auto kernel = kernel_dedicated_memory(card.AdapterLuid)) return kernel;
  if (const auto stored = stored_dedicated_memory(card)) return stored;
  if (sizeof(SIZE_T) < sizeof(std::uint64_t) && card.DedicatedVideoMemory == static_cast<SIZE_T>(-1)) return std::nullopt;
  return card.DedicatedVideoMemory;
}

// The graphics card a sysinfo line means, from DirectX's list of adapters:
// the hardware one with the most video memory of its own (as
// dedicated_memory counts it), the first listed on a tie. The adapter that
// drives the primary display is the integrated one on most laptops that have
// another, and Windows' basic render driver is flagged software. Empty where
// DirectX is missing or lists no hardware adapter; its memory, where known.
struct GraphicsCard {
  Text name;
  std::optional<std::uint64_t> memory;
};
GraphicsCard graphics_card(TextEncoding encoding) {
  const auto create = create_dxgi_factory.as<CreateFactory>();
  IDXGIFactory1* created = nullptr;
  if (create == nullptr || FAILED(create(__uuidof(IDXGIFactory1), reinterpret_cast<void**>(&created)))) {
    return {};
  }
  const unique_com<IDXGIFactory1> factory(created);
  DXGI_ADAPTER_DESC1 best{};
  std::optional<std::uint64_t> best_memory;
  bool found = false;
  IDXGIAdapter1* listed = nullptr;
  for (UINT index = 0; factory.get()->EnumAdapters1(index, &listed) == S_OK; ++index) {
    const unique_com<IDXGIAdapter1> adapter(listed);
    DXGI_ADAPTER_DESC1 description{};
    if (FAILED(adapter.get()->GetDesc1(&description)) ||
        (description.Flags & DXGI_ADAPTER_FLAG_SOFTWARE) != 0) {
      continue;
    }
    const std::optional<std::uint64_t> memory = dedicated_memory(description);
    // An adapter whose figure is cut counts as the most a 32-bit program sees.
    const auto ranked = [](const std::optional<std::uint64_t>& figure) { return figure.value_or(UINT32_MAX); };
    if (!found || ranked(memory) > ranked(best_memory)) best = description, best_memory = memory;
    found = true;
  }
  if (!found) return {};
  return {text_in_encoding(std::wstring_view(best.Description, wcsnlen(best.Description, std::size(best.Description))), encoding),
          best_memory};
}

}  // namespace

// The graphics card, else the name of the first device that drives the
// primary display, read wide in either call. A mirroring driver
// (remote-control programs install them) shows what another device drives,
// and is never the answer.
TOOLCASE_COMMAND(GPU) {
  return run_text_command(data, main_window, [](const Text& input, TextEncoding encoding) {
    const GraphicsCard card = graphics_card(encoding);
    // "memory": the card's own video memory in whole megabytes.
    if (text::keyword_match(input, "memory")) {
      if (card.name.empty() || !card.memory || *card.memory == 0) return Text(kFalse);
      Text megabytes(text::id_to_text(static_cast<std::uint32_t>(std::min<std::uint64_t>(*card.memory >> 20, UINT32_MAX))));
      megabytes.append("MB");
      return megabytes;
    }
    if (!card.name.empty()) return card.name;
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
