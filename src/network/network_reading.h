// What Windows tells of the network adapter in use: the one it routes
// Internet traffic through.
#pragma once

#include <cstdint>
#include <optional>

#include "host/bounded_text.h"
#include "host/frame.h"
#include "network/network_rules.h"

namespace toolcase::network {

// The interface index of the adapter in use; empty when there is none.
std::optional<std::uint32_t> adapter_in_use() noexcept;

struct AdapterNames {
  Text name;         // as Windows shows it: "Ethernet", "Wi-Fi"
  Text description;  // the device: "Intel(R) Wi-Fi 6 AX201 160MHz"
};
// In the call's encoding; false when Windows lists no such adapter.
bool adapter_names(std::uint32_t adapter, TextEncoding encoding, AdapterNames& names) noexcept;

// The receive link speed in bits per second; 0 when Windows gives none.
std::uint64_t receive_speed(std::uint32_t adapter) noexcept;

// The adapter's byte counters now; empty when Windows cannot read them.
std::optional<CounterReading> read_counters(std::uint32_t adapter) noexcept;

}  // namespace toolcase::network
