#include "window/placement_text.h"

#include <array>
#include <cstddef>

#include "host/text.h"

namespace toolcase::window {

namespace {

constexpr int kLowest = -32768;
constexpr int kHighest = 32767;

// One number of the text, without its blank: false for anything else.
bool parse_number(std::string_view digits, int& number) {
  const bool negative = !digits.empty() && digits.front() == '-';
  if (negative) digits.remove_prefix(1);
  if (digits.empty()) return false;
  long value = 0;
  for (const char c : digits) {
    if (c < '0' || c > '9') return false;
    value = value * 10 + (c - '0');
    if (value > -static_cast<long>(kLowest)) return false;
  }
  if (negative) value = -value;
  if (value > kHighest) return false;
  number = static_cast<int>(value);
  return true;
}

}  // namespace

std::optional<Placement> parse_placement(std::string_view numbers) noexcept {
  std::array<int, 4> values{};
  std::size_t count = 0;
  for (;;) {
    const std::size_t blank = numbers.find(' ');
    const std::string_view number(numbers.data(), blank == std::string_view::npos ? numbers.size() : blank);
    if (count == values.size() || !parse_number(number, values[count])) return std::nullopt;
    ++count;
    if (blank == std::string_view::npos) break;
    numbers.remove_prefix(blank + 1);
  }
  if (count == 2) return Placement{values[0], values[1], false, 0, 0};
  if (count != 4 || values[2] < 1 || values[3] < 1) return std::nullopt;
  return Placement{values[0], values[1], true, values[2], values[3]};
}

PlacementText placement_text(int x, int y, int width, int height) noexcept {
  PlacementText text;
  for (const int value : {x, y, width, height}) {
    if (!text.empty()) text.push_back(' ');
    text.append(text::integer_to_text(value));
  }
  return text;
}

}  // namespace toolcase::window
