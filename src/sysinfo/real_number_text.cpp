#include "sysinfo/real_number_text.h"

#include <cstddef>

namespace toolcase::sysinfo {

namespace {

constexpr std::size_t kSignificantDigits = 15;

}  // namespace

std::string real_number_text(std::uint64_t scaled, int decimal_places, char separator) {
  if (scaled == 0) return "0";

  std::string digits = std::to_string(scaled);
  // Digits of the value before its decimal point; zero or less for a value below 1.
  int integer_digits = static_cast<int>(digits.size()) - decimal_places;

  if (digits.size() > kSignificantDigits) {
    const bool round_up = digits[kSignificantDigits] >= '5';
    digits.resize(kSignificantDigits);
    if (round_up) {
      std::size_t at = digits.size();
      while (at > 0 && digits[at - 1] == '9') digits[--at] = '0';
      if (at == 0) {
        // 999...9 became 1000...0: one digit more before the point.
        digits = "1";
        ++integer_digits;
      } else {
        ++digits[at - 1];
      }
    }
  }
  digits.erase(digits.find_last_not_of('0') + 1);

  std::string text;
  if (integer_digits > 0) {
    const std::size_t whole = static_cast<std::size_t>(integer_digits);
    if (digits.size() <= whole) {
      text = digits;
      text.append(whole - digits.size(), '0');
    } else {
      text = digits.substr(0, whole);
      text += separator;
      text += digits.substr(whole);
    }
  } else {
    text = "0";
    text += separator;
    text.append(static_cast<std::size_t>(-integer_digits), '0');
    text += digits;
  }
  return text;
}

std::string kilobytes_text(std::uint32_t bytes, char separator) {
  // bytes / 2^10 = bytes * 5^10 / 10^10: at most 17 digits, exact in 64 bits.
  constexpr std::uint64_t kFivePowTen = 9765625;
  return real_number_text(bytes * kFivePowTen, 10, separator);
}

}  // namespace toolcase::sysinfo
