// The numbers of WindowMove and the answer of WindowPos: a window's place as
// text. Pure text rules, no platform calls.
#pragma once

#include <optional>
#include <string_view>

#include "host/bounded_text.h"

namespace toolcase::window {

// Where a window is to stand, in the screen's pixels.
struct Placement {
  int x, y;
  bool sized;          // width and height were given
  int width, height;  // each at least 1 when given
};

// "x y" or "x y width height": single blanks between the numbers, each an
// optional '-' and decimal digits from -32768 to 32767, width and height at
// least 1. Anything else is no placement.
std::optional<Placement> parse_placement(std::string_view numbers) noexcept;

// "x y width height".
using PlacementText = BoundedText<4 * 12>;
PlacementText placement_text(int x, int y, int width, int height) noexcept;

}  // namespace toolcase::window
