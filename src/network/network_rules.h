// The adapter's speed as an answer, and its traffic counters turned into
// bytes per second. Pure rules, no platform calls.
#pragma once

#include <cstdint>
#include <optional>

#include "host/bounded_text.h"

namespace toolcase::network {

// Megabits per second with "Mbps", rounded to one decimal (half up), a
// trailing ".0" left out: "1000Mbps", "866.7Mbps", "0.1Mbps". Empty when
// Windows gives no speed: 0, or all bits set (a disconnected or virtual adapter).
using SpeedText = BoundedText<32>;
std::optional<SpeedText> speed_text(std::uint64_t bits_per_second) noexcept;

// One reading of an adapter's byte counters, at a time in microseconds of
// the performance counter: GetTickCount moves in steps of 10 to 16 ms.
struct CounterReading {
  std::uint32_t adapter;  // the interface index
  std::uint64_t received, sent;
  std::uint64_t microseconds;
  bool wide;  // 64-bit counters; else 32-bit ones, which wrap at 4 GB
};

// The performance counter's count in microseconds, exact for any uptime.
std::uint64_t microseconds_of(std::uint64_t count, std::uint64_t frequency) noexcept;

struct Rates {
  std::uint64_t down, up;  // bytes per second
};

// The bytes counted between two readings of the same counter. A 64-bit
// counter that went back (the adapter restarted) counts from 0; a 32-bit one
// has wrapped once.
std::uint64_t bytes_between(std::uint64_t before, std::uint64_t after, bool wide) noexcept;

// Bytes per second, rounded to whole (half up); 0 over no time.
std::uint64_t per_second(std::uint64_t bytes, std::uint64_t microseconds) noexcept;

// The last two readings of the adapter in use: the rates are over the time
// between them. A reading of another adapter starts afresh. Callers on
// several threads may record out of order: a reading of the same adapter is
// kept only when it is due, a quarter second or more after the last one.
class RateMeter {
 public:
  static constexpr std::uint64_t kFreshMicroseconds = 250'000;

  // False when the reading was dropped as not due.
  bool record(const CounterReading& reading) noexcept;
  // The last reading is of that adapter and under a quarter second old.
  bool is_fresh(std::uint32_t adapter, std::uint64_t now) const noexcept;
  // Two readings of that adapter.
  bool has_rates(std::uint32_t adapter) const noexcept;
  Rates rates() const noexcept;

 private:
  std::optional<CounterReading> last_;
  std::optional<CounterReading> previous_;
};

}  // namespace toolcase::network
