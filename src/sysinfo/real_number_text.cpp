#include "sysinfo/real_number_text.h"

#include <array>
#include <cstring>
#include <string_view>

namespace toolcase::sysinfo {

namespace {

constexpr std::size_t kSignificantDigits = 15;
// Of the largest 64-bit value.
constexpr std::size_t kMostDigits = 20;

// "00" to "99": two digits per division.
constexpr char kDigitPairs[] =
    "00010203040506070809101112131415161718192021222324252627282930313233343536373839"
    "40414243444546474849505152535455565758596061626364656667686970717273747576777879"
    "8081828384858687888990919293949596979899";

// The decimal digits of a value, right-aligned in a fixed array.
struct Digits {
  std::array<char, kMostDigits> chars;
  std::size_t start = kMostDigits;  // index of the most significant digit

  explicit Digits(std::uint64_t value) {
    // 32-bit code pays a library call for every 64-bit division: one per
    // nine digits, and the digits themselves from 32-bit arithmetic.
    constexpr std::uint32_t kNineDigits = 1000000000;
    while (value > UINT32_MAX) {
      const std::uint64_t high = value / kNineDigits;
      write_nine(static_cast<std::uint32_t>(value - high * kNineDigits));
      value = high;
    }
    write_leading(static_cast<std::uint32_t>(value));
  }

 private:
  void write_pair(std::uint32_t below_100) {
    start -= 2;
    std::memcpy(&chars[start], &kDigitPairs[2 * below_100], 2);
  }
  // Exactly nine digits, zeros in front.
  void write_nine(std::uint32_t value) {
    for (int pair = 0; pair < 4; ++pair, value /= 100) write_pair(value % 100);
    chars[--start] = static_cast<char>('0' + value);
  }
  // The digits of value, no zeros in front.
  void write_leading(std::uint32_t value) {
    for (; value >= 100; value /= 100) write_pair(value % 100);
    if (value >= 10) {
      write_pair(value);
    } else {
      chars[--start] = static_cast<char>('0' + value);
    }
  }
};

}  // namespace

FigureText real_number_text(std::uint64_t scaled, int decimal_places, char separator) noexcept {
  FigureText text;
  if (scaled == 0) {
    text.push_back('0');
    return text;
  }

  Digits digits(scaled);
  char* const first = digits.chars.data() + digits.start;
  std::size_t count = kMostDigits - digits.start;
  // Digits of the value before its decimal point; zero or less for a value below 1.
  int integer_digits = static_cast<int>(count) - decimal_places;

  if (count > kSignificantDigits) {
    const bool round_up = first[kSignificantDigits] >= '5';
    count = kSignificantDigits;
    if (round_up) {
      std::size_t at = count;
      while (at > 0 && first[at - 1] == '9') first[--at] = '0';
      if (at == 0) {
        // 999...9 became 1000...0: one digit more before the point.
        first[0] = '1';
        count = 1;
        ++integer_digits;
      } else {
        ++first[at - 1];
      }
    }
  }
  // The first digit of a value above zero is never 0, before or after rounding.
  while (first[count - 1] == '0') --count;

  const std::string_view significant(first, count);
  if (integer_digits > 0) {
    const auto whole = static_cast<std::size_t>(integer_digits);
    if (count <= whole) {
      text.append(significant);
      text.append(whole - count, '0');
    } else {
      text.append(std::string_view(first, whole));
      text.push_back(separator);
      text.append(std::string_view(first + whole, count - whole));
    }
  } else {
    text.push_back('0');
    text.push_back(separator);
    text.append(static_cast<std::size_t>(-integer_digits), '0');
    text.append(significant);
  }
  return text;
}

FigureText kilobytes_text(std::uint32_t bytes, char separator) noexcept {
  // bytes / 2^10 = bytes * 5^10 / 10^10: at most 17 digits, exact in 64 bits.
  constexpr std::uint64_t kFivePowTen = 9765625;
  return real_number_text(bytes * kFivePowTen, 10, separator);
}

}  // namespace toolcase::sysinfo
