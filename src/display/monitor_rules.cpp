#include "display/monitor_rules.h"

#include <algorithm>

#include "host/text.h"

namespace toolcase::display {

namespace {

constexpr std::uint32_t kUnscaledDpi = 96;
// A monitor's number: digits without a leading zero, 1 to 999 (more than
// any machine has monitors); 0 otherwise.
int monitor_number(std::string_view digits) {
  if (digits.empty() || digits.size() > 3 || digits.front() == '0') return 0;
  int number = 0;
  for (const char digit : digits) {
    if (digit < '0' || digit > '9') return 0;
    number = number * 10 + (digit - '0');
  }
  return number;
}

// The text before and after the byte at 0-based position at.
std::string_view before(std::string_view text, std::size_t at) {
  return text::copy_range(text, 1, static_cast<int>(at));
}
std::string_view after(std::string_view text, std::size_t at) {
  return text::copy_range(text, static_cast<int>(at) + 2, static_cast<int>(text.size()));
}

std::int64_t overlap(const Area& a, const Area& b) {
  const std::int64_t width = std::int64_t{std::min(a.right, b.right)} - std::max(a.left, b.left);
  const std::int64_t height = std::int64_t{std::min(a.bottom, b.bottom)} - std::max(a.top, b.top);
  return width > 0 && height > 0 ? width * height : 0;
}

}  // namespace

MonitorRequest parse_monitor_request(std::string_view input) noexcept {
  using Kind = MonitorRequest::Kind;
  if (text::keyword_match(input, "count")) return {Kind::count, 0, {}};
  if (const std::size_t separator = input.find(';'); separator != std::string_view::npos) {
    if (!text::keyword_match(before(input, separator), "of")) return {Kind::invalid, 0, {}};
    return {Kind::window, 0, after(input, separator)};
  }
  const std::size_t blank = input.find(' ');
  if (blank == std::string_view::npos) {
    const int number = monitor_number(input);
    return {number == 0 ? Kind::invalid : Kind::place, number, {}};
  }
  const int number = monitor_number(before(input, blank));
  if (number == 0) return {Kind::invalid, 0, {}};
  const std::string_view keyword = after(input, blank);
  if (text::keyword_match(keyword, "work")) return {Kind::work_area, number, {}};
  if (text::keyword_match(keyword, "scale")) return {Kind::scale, number, {}};
  return {Kind::invalid, 0, {}};
}

int area_holding_most(std::span<const Area> areas, const Area& place) noexcept {
  int best = 0;
  std::int64_t most = 0;
  for (std::size_t i = 0; i < areas.size(); ++i) {
    if (const std::int64_t held = overlap(areas[i], place); held > most) {
      most = held;
      best = static_cast<int>(i) + 1;
    }
  }
  return best;
}

ScaleText scale_percent(std::uint32_t dpi) noexcept {
  const std::uint64_t percent = (std::uint64_t{dpi} * 100 + kUnscaledDpi / 2) / kUnscaledDpi;
  ScaleText text(text::integer_to_text(static_cast<std::int32_t>(std::min<std::uint64_t>(percent, 1'000'000))));
  text.push_back('%');
  return text;
}

}  // namespace toolcase::display
