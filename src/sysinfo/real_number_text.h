// Memory figures as text: the general notation with 15 significant digits,
// rounded half up from the exact value, with the caller's decimal separator.
#pragma once

#include <cstdint>
#include <string>

namespace toolcase::sysinfo {

// The exact value scaled / 10^decimal_places, rounded half up to 15
// significant digits, trailing zeros dropped, no sign, no grouping, no
// exponent. Exact for values of up to 18 significant digits; every figure
// written here lies between 1/1024 and 2^32, where no exponent is due.
std::string real_number_text(std::uint64_t scaled, int decimal_places, char separator);

// A byte count in kilobytes, bytes / 1024 without truncation:
// 123456789 gives "120563.270507813".
std::string kilobytes_text(std::uint32_t bytes, char separator);

}  // namespace toolcase::sysinfo
