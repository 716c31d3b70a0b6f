// What Windows tells of the network adapter in use: the one it routes
// Internet traffic through.
#pragma once

#include <cstdint>
#include <optional>

#include "host/bounded_text.h"
#include "host/frame.h"
#include "network/network_rules.h"

namespace toolcase::network {

// An adapter by an interface index. From Vista on an adapter's IPv4 and IPv6
// interfaces share one index; Windows XP numbers them apart, so that one
// adapter's IPv4 index can be another's IPv6 index.
struct AdapterIndex {
  std::uint32_t index;
  bool ipv6;  // an IPv6 interface's index, which XP's GetIfEntry does not take
};

// The adapter in use; empty when there is none.
std::optional<AdapterIndex> adapter_in_use() noexcept;

struct AdapterNames {
  Text name;         // as Windows shows it: "Ethernet", "Wi-Fi"
  Text description;  // the device: "Intel(R) Wi-Fi 6 AX201 160MHz"
};
// In the call's encoding; false when Windows lists no such adapter.
bool adapter_names(AdapterIndex adapter, TextEncoding encoding, AdapterNames& names) noexcept;

// The receive link speed in bits per second; 0 when Windows gives none.
std::uint64_t receive_speed(AdapterIndex adapter) noexcept;

// The adapter's byte counters now; empty when Windows cannot read them.
std::optional<CounterReading> read_counters(AdapterIndex adapter) noexcept;

// The performance counter now, in microseconds.
std::uint64_t microseconds_now() noexcept;

}  // namespace toolcase::network
