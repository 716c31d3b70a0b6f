#include "window/placement_text.h"

#include <array>
#include <cstddef>

#include "host/text.h"

namespace toolcase::window {

namespace {

constexpr int kLowest = -32768;
constexpr int kHighest = 32767;

}  // namespace

std::optional<Placement> parse_placement(std::string_view numbers) noexcept {
  std::array<int, 4> values{};
  std::size_t count = 0;
  std::size_t at = 0;
  for (;;) {
    const bool negative = at < numbers.size() && numbers[at] == '-';
    at += negative;
    const std::size_t first_digit = at;
    int magnitude = 0;
    for (; at < numbers.size() && numbers[at] >= '0' && numbers[at] <= '9'; ++at) {
      magnitude = magnitude * 10 + (numbers[at] - '0');
      if (magnitude > -kLowest) return std::nullopt;
    }
    if (at == first_digit || (!negative && magnitude > kHighest)) return std::nullopt;
    values[count++] = negative ? -magnitude : magnitude;
    if (at == numbers.size()) break;
    // One blank, then the next number.
    if (count == values.size() || numbers[at++] != ' ') return std::nullopt;
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
