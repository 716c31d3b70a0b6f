// Before windows.h, which would bring the older winsock.h.
#include <winsock2.h>
#include <ws2tcpip.h>
#include <iphlpapi.h>

#include "network/network_reading.h"

#include <array>
#include <cstring>
#include <string_view>

#include "host/late_bound.h"
#include "host/unique_handle.h"
#include "host/wide_text.h"

namespace toolcase::network {

namespace {

using BestInterface = DWORD(WINAPI*)(IPAddr, PDWORD);
using BestInterfaceEx = DWORD(WINAPI*)(sockaddr*, PDWORD);
using AdaptersAddresses = ULONG(WINAPI*)(ULONG, ULONG, PVOID, PIP_ADAPTER_ADDRESSES_XP, PULONG);
using InterfaceEntry = DWORD(WINAPI*)(PMIB_IFROW);
using InterfaceEntry2 = DWORD(WINAPI*)(void*);
LateBound best_interface(SystemModule::iphlpapi, "GetBestInterface");
LateBound best_interface_ex(SystemModule::iphlpapi, "GetBestInterfaceEx");
LateBound adapters_addresses(SystemModule::iphlpapi, "GetAdaptersAddresses");
LateBound interface_entry(SystemModule::iphlpapi, "GetIfEntry");
LateBound interface_entry2(SystemModule::iphlpapi, "GetIfEntry2");

// MIB_IF_ROW2 (Vista and later), as far as it is read: the 32-bit DLL is
// built with Windows XP's declarations. 1,352 bytes in both DLLs.
struct InterfaceRow2 {
  static constexpr std::size_t kSize = 1352;
  static constexpr std::size_t kIndex = 8;                // InterfaceIndex, after the 8-byte LUID
  static constexpr std::size_t kReceiveLinkSpeed = 1200;  // ULONG64, bits per second
  static constexpr std::size_t kInOctets = 1208;          // ULONG64
  static constexpr std::size_t kOutOctets = 1280;         // ULONG64
  alignas(8) std::array<unsigned char, kSize> bytes{};

  template <typename Value>
  Value at(std::size_t offset) const {
    Value value;
    std::memcpy(&value, bytes.data() + offset, sizeof value);
    return value;
  }
};

// GetIfEntry2's row of the adapter; false before Vista or when it fails.
bool interface_row2(std::uint32_t adapter, InterfaceRow2& row) {
  const auto entry = interface_entry2.as<InterfaceEntry2>();
  if (entry == nullptr) return false;
  std::memcpy(row.bytes.data() + InterfaceRow2::kIndex, &adapter, sizeof adapter);
  return entry(row.bytes.data()) == NO_ERROR;
}

// GetIfEntry's row (32-bit counters and speed); false when it fails, and for
// an IPv6 index, which Windows XP's GetIfEntry would take for an IPv4 one.
bool interface_row(AdapterIndex adapter, MIB_IFROW& row) {
  const auto entry = interface_entry.as<InterfaceEntry>();
  if (entry == nullptr || adapter.ipv6) return false;
  row = MIB_IFROW{};
  row.dwIndex = adapter.index;
  return entry(&row) == NO_ERROR;
}

constexpr ULONG kListFlags = GAA_FLAG_SKIP_ANYCAST | GAA_FLAG_SKIP_MULTICAST | GAA_FLAG_SKIP_DNS_SERVER;

// Windows' list of adapters, in `pages` (it can run to tens of kilobytes);
// null when it cannot be read.
const IP_ADAPTER_ADDRESSES_XP* adapter_list(unique_pages& pages) {
  const auto list = adapters_addresses.as<AdaptersAddresses>();
  if (list == nullptr) return nullptr;
  ULONG size = 64 * 1024;
  // The list may grow between the call that sizes it and the next.
  for (int attempt = 0; attempt < 3; ++attempt) {
    pages.reset(VirtualAlloc(nullptr, size, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE));
    if (!pages) return nullptr;
    const auto first = static_cast<PIP_ADAPTER_ADDRESSES_XP>(pages.get());
    const ULONG result = list(AF_UNSPEC, kListFlags, nullptr, first, &size);
    if (result == NO_ERROR) return first;
    if (result != ERROR_BUFFER_OVERFLOW) return nullptr;
  }
  return nullptr;
}

// The adapter of that interface index, matched against the index of its
// family alone.
const IP_ADAPTER_ADDRESSES_XP* find_adapter(const IP_ADAPTER_ADDRESSES_XP* first, AdapterIndex adapter) {
  for (const IP_ADAPTER_ADDRESSES_XP* entry = first; entry != nullptr; entry = entry->Next) {
    if ((adapter.ipv6 ? entry->Ipv6IfIndex : entry->IfIndex) == adapter.index) return entry;
  }
  return nullptr;
}

}  // namespace

std::optional<AdapterIndex> adapter_in_use() noexcept {
  // The route to a public address, as Windows would choose it; no packet is sent.
  DWORD index = 0;
  constexpr std::array<unsigned char, 4> kPublicIpv4{8, 8, 8, 8};
  IPAddr ipv4 = 0;
  std::memcpy(&ipv4, kPublicIpv4.data(), sizeof ipv4);
  if (const auto best = best_interface.as<BestInterface>(); best != nullptr && best(ipv4, &index) == NO_ERROR) {
    return AdapterIndex{index, false};
  }
  sockaddr_in6 ipv6{};
  ipv6.sin6_family = AF_INET6;
  constexpr std::array<unsigned char, 16> kPublicIpv6{0x20, 0x01, 0x48, 0x60, 0x48, 0x60, 0, 0,
                                                      0,    0,    0,    0,    0,    0,    0x88, 0x88};
  std::memcpy(&ipv6.sin6_addr, kPublicIpv6.data(), kPublicIpv6.size());
  if (const auto best = best_interface_ex.as<BestInterfaceEx>();
      best != nullptr && best(reinterpret_cast<sockaddr*>(&ipv6), &index) == NO_ERROR) {
    return AdapterIndex{index, true};
  }
  unique_pages pages;
  for (const IP_ADAPTER_ADDRESSES_XP* entry = adapter_list(pages); entry != nullptr; entry = entry->Next) {
    if (entry->OperStatus == IfOperStatusUp && entry->IfType != IF_TYPE_SOFTWARE_LOOPBACK &&
        entry->IfType != IF_TYPE_TUNNEL) {
      return entry->IfIndex != 0 ? AdapterIndex{entry->IfIndex, false} : AdapterIndex{entry->Ipv6IfIndex, true};
    }
  }
  return std::nullopt;
}

bool adapter_names(AdapterIndex adapter, TextEncoding encoding, AdapterNames& names) noexcept {
  unique_pages pages;
  const IP_ADAPTER_ADDRESSES_XP* entry = find_adapter(adapter_list(pages), adapter);
  if (entry == nullptr) return false;
  const auto text_of = [encoding](const wchar_t* text) {
    return text != nullptr ? text_in_encoding(text, encoding) : Text();
  };
  names.name = text_of(entry->FriendlyName);
  names.description = text_of(entry->Description);
  return true;
}

std::uint64_t receive_speed(AdapterIndex adapter) noexcept {
  if (InterfaceRow2 row; interface_row2(adapter.index, row)) {
    return row.at<std::uint64_t>(InterfaceRow2::kReceiveLinkSpeed);
  }
  MIB_IFROW row;
  if (!interface_row(adapter, row)) return 0;
  return row.dwSpeed == UINT32_MAX ? UINT64_MAX : row.dwSpeed;
}

std::optional<CounterReading> read_counters(AdapterIndex adapter) noexcept {
  const std::uint64_t now = microseconds_now();
  if (InterfaceRow2 row; interface_row2(adapter.index, row)) {
    return CounterReading{adapter.index, row.at<std::uint64_t>(InterfaceRow2::kInOctets),
                          row.at<std::uint64_t>(InterfaceRow2::kOutOctets), now, true};
  }
  MIB_IFROW row;
  if (!interface_row(adapter, row)) return std::nullopt;
  return CounterReading{adapter.index, row.dwInOctets, row.dwOutOctets, now, false};
}

std::uint64_t microseconds_now() noexcept {
  // Windows XP and later always have the counter, its frequency fixed at boot.
  LARGE_INTEGER count{}, frequency{};
  QueryPerformanceFrequency(&frequency);
  QueryPerformanceCounter(&count);
  return microseconds_of(static_cast<std::uint64_t>(count.QuadPart), static_cast<std::uint64_t>(frequency.QuadPart));
}

}  // namespace toolcase::network
