#include "sysinfo/machine_facts.h"

#include "host/frame.h"
#include "host/text.h"

namespace toolcase::sysinfo {

namespace {

constexpr std::uint32_t kFirstWindows11Build = 22000;
constexpr std::uint8_t kUnknown = 255;
constexpr std::uint8_t kCharging = 8;
constexpr std::uint8_t kNoSystemBattery = 128;

}  // namespace

Text windows_name(std::string_view product_name, std::uint32_t build) noexcept {
  constexpr std::string_view kWindows10 = "Windows 10";
  if (build < kFirstWindows11Build || !product_name.starts_with(kWindows10) ||
      (product_name.size() > kWindows10.size() && product_name[kWindows10.size()] != ' ')) {
    return Text(product_name);
  }
  Text name("Windows 11");
  product_name.remove_prefix(kWindows10.size());
  name.append(product_name);
  return name;
}

std::optional<std::uint32_t> decimal_number(std::wstring_view digits) noexcept {
  if (digits.empty()) return std::nullopt;
  std::uint64_t number = 0;
  for (const wchar_t digit : digits) {
    if (digit < L'0' || digit > L'9') return std::nullopt;
    number = number * 10 + static_cast<std::uint64_t>(digit - L'0');
    if (number > UINT32_MAX) return std::nullopt;
  }
  return static_cast<std::uint32_t>(number);
}

std::string_view trim_blanks(std::string_view text) noexcept {
  const std::size_t first = text.find_first_not_of(' ');
  if (first == std::string_view::npos) return {};
  return std::string_view(text.data() + first, text.find_last_not_of(' ') - first + 1);
}

std::uint32_t busy_percent(std::uint64_t idle, std::uint64_t kernel, std::uint64_t user) noexcept {
  const std::uint64_t total = kernel + user;
  if (total == 0 || idle >= total) return 0;
  const std::uint64_t busy = total - idle;
  // Overflows only past 290 years of processor time in one interval.
  return static_cast<std::uint32_t>((busy * 200 + total) / (total * 2));
}

FactText battery_level(const PowerStatus& status) noexcept {
  if (status.battery_flag != kUnknown && (status.battery_flag & kNoSystemBattery) != 0) {
    return FactText("none");
  }
  if (status.percent > 100) return FactText(kFalse);
  FactText level(text::integer_to_text(status.percent));
  level.push_back('%');
  return level;
}

std::string_view power_source(const PowerStatus& status) noexcept {
  if (status.ac_line == 0) return "battery";
  if (status.ac_line == 1) return "ac";
  return kFalse;
}

std::string_view charging(const PowerStatus& status) noexcept {
  return true_or_false(status.battery_flag != kUnknown && (status.battery_flag & kCharging) != 0);
}

}  // namespace toolcase::sysinfo
