// The rules behind the machine facts that sysinfo lines show: Windows' name,
// the processor's load, the battery. Pure rules, no platform calls.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

#include "host/bounded_text.h"

namespace toolcase::sysinfo {

// Windows 11 kept the registry's product name of Windows 10 ("Windows 10
// Pro"): from build 22000 on, a name that starts with the word "Windows 10"
// reads as "Windows 11".
Text windows_name(std::string_view product_name, std::uint32_t build) noexcept;

// A number that Windows stores as decimal digits ("22631"), or none for
// any other text and for more than 32 bits.
std::optional<std::uint32_t> decimal_number(std::wstring_view digits) noexcept;

// The text without the blanks at either end.
std::string_view trim_blanks(std::string_view text) noexcept;

// How busy the processors were over an interval, in whole percent, rounded
// half up, from 0 to 100: the growth of the idle, kernel and user times over
// it, where kernel time includes idle time. An interval without time is idle.
std::uint32_t busy_percent(std::uint64_t idle, std::uint64_t kernel, std::uint64_t user) noexcept;

// What Windows reports of the power supply, as its three bytes; 255 means
// unknown in each.
struct PowerStatus {
  std::uint8_t ac_line;       // 0 on battery, 1 on mains
  std::uint8_t battery_flag;  // bits: 8 charging, 128 no system battery
  std::uint8_t percent;       // 0 to 100
};

// Battery's answers: "76%", "none" or "false"; "ac", "battery" or "false";
// "true" or "false".
using FactText = BoundedText<8>;
FactText battery_level(const PowerStatus& status) noexcept;
std::string_view power_source(const PowerStatus& status) noexcept;
std::string_view charging(const PowerStatus& status) noexcept;

}  // namespace toolcase::sysinfo
