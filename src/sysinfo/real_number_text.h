// Memory figures as text: the general notation with 15 significant digits,
// rounded half up from the exact value, with the caller's decimal separator.
#pragma once

#include <cstdint>

#include "host/bounded_text.h"

namespace toolcase::sysinfo {

// A figure's text with room for a short suffix: the longest figure (22
// characters: "0", the separator, 20 decimal places) and a suffix.
using FigureText = BoundedText<32>;

// The exact value scaled / 10^decimal_places, rounded half up to 15
// significant digits, trailing zeros dropped, no sign, no grouping, no
// exponent. decimal_places runs from 0 to 20, enough for every 64-bit value.
// A figure of 10^15 or more is written out in full, zeros after the 15
// significant digits, rather than with an exponent: a script reads a plain
// number more easily, and 10^15 kilobytes is an exabyte.
FigureText real_number_text(std::uint64_t scaled, int decimal_places, char separator) noexcept;

// A byte count in kilobytes, bytes / 1024 without truncation, exact for any
// 64-bit count: 123456789 gives "120563.270507813".
FigureText kilobytes_text(std::uint64_t bytes, char separator) noexcept;

}  // namespace toolcase::sysinfo
