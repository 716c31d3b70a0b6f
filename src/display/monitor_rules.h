// What Monitor is asked and the rules behind its answers. Pure rules, no
// platform calls.
#pragma once

#include <cstdint>
#include <span>
#include <string_view>

#include "host/bounded_text.h"

namespace toolcase::display {

struct MonitorRequest {
  enum class Kind { invalid, count, place, work_area, scale, window };
  Kind kind;
  int number;                   // place, work_area, scale: from 1, not yet checked against the count
  std::string_view window_part;  // window: the text after "of;"
};

// "count", "N", "N work", "N scale" or "of;window": keywords matched as every
// command matches them; N decimal digits without a sign or a leading zero.
MonitorRequest parse_monitor_request(std::string_view input) noexcept;

// A rectangle of the virtual screen, right and bottom outside it.
struct Area {
  std::int32_t left, top, right, bottom;
};

// The number (from 1) of the area that holds the largest part of place, the
// lower number on a tie, 0 when none holds any of it.
int area_holding_most(std::span<const Area> areas, const Area& place) noexcept;

// "150%": dpi x 100 / 96, rounded to the nearest whole percent.
using ScaleText = BoundedText<12>;
ScaleText scale_percent(std::uint32_t dpi) noexcept;

}  // namespace toolcase::display
