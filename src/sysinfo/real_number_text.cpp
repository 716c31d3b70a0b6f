#include "sysinfo/real_number_text.h"

#include <array>
#include <cstring>
#include <string_view>

namespace toolcase::sysinfo {

namespace {

constexpr std::size_t kSignificantDigits = 15;
// A 64-bit count of kilobytes: 17 digits before the point and 10 after it.
constexpr std::size_t kMostDigits = 27;

// "00" to "99": two digits per division.
constexpr char kDigitPairs[] =
    "00010203040506070809101112131415161718192021222324252627282930313233343536373839"
    "40414243444546474849505152535455565758596061626364656667686970717273747576777879"
    "8081828384858687888990919293949596979899";

// Decimal digits written from the right into a fixed array.
class Digits {
 public:
  // The digits of value, no zeros in front. 32-bit code pays a library call
  // for every 64-bit division: one per nine digits, and the digits
  // themselves from 32-bit arithmetic.
  void write_leading(std::uint64_t value) {
    constexpr std::uint32_t kNineDigits = 1000000000;
    while (value > UINT32_MAX) {
      const std::uint64_t high = value / kNineDigits;
      write_nine(static_cast<std::uint32_t>(value - high * kNineDigits));
      value = high;
    }
    auto low = static_cast<std::uint32_t>(value);
    for (; low >= 100; low /= 100) write_pair(low % 100);
    if (low >= 10) {
      write_pair(low);
    } else {
      chars_[--start_] = static_cast<char>('0' + low);
    }
  }
  // Exactly five digits, zeros in front.
  void write_five(std::uint32_t value) {
    write_pair(value % 100);
    write_pair(value / 100 % 100);
    chars_[--start_] = static_cast<char>('0' + value / 10000);
  }
  // Zeros in front are no digits of the value.
  void drop_leading_zeros() {
    while (start_ < kMostDigits && chars_[start_] == '0') ++start_;
  }

  char* first() { return chars_.data() + start_; }
  std::size_t count() const { return kMostDigits - start_; }

 private:
  void write_pair(std::uint32_t below_100) {
    start_ -= 2;
    std::memcpy(&chars_[start_], &kDigitPairs[2 * below_100], 2);
  }
  // Exactly nine digits, zeros in front.
  void write_nine(std::uint32_t value) {
    for (int pair = 0; pair < 4; ++pair, value /= 100) write_pair(value % 100);
    chars_[--start_] = static_cast<char>('0' + value);
  }

  std::array<char, kMostDigits> chars_;
  std::size_t start_ = kMostDigits;  // index of the most significant digit
};

// The value whose digits these are, decimal_places of them after the point,
// rounded half up to 15 significant digits. The digits start with a nonzero one.
FigureText significant_figure(Digits& digits, int decimal_places, char separator) {
  char* const first = digits.first();
  std::size_t count = digits.count();
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

  FigureText text;
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

}  // namespace

FigureText real_number_text(std::uint64_t scaled, int decimal_places, char separator) noexcept {
  if (scaled == 0) return FigureText("0");
  Digits digits;
  digits.write_leading(scaled);
  return significant_figure(digits, decimal_places, separator);
}

FigureText kilobytes_text(std::uint64_t bytes, char separator) noexcept {
  if (bytes == 0) return FigureText("0");
  // bytes / 2^10 is the whole kilobytes and remainder / 2^10 =
  // remainder * 5^10 / 10^10: exactly ten decimal places, worked out in two
  // halves of five digits (10^5 = 2^5 * 5^5), all in 32 bits.
  const auto remainder_times_five_pow_five = static_cast<std::uint32_t>(bytes & 1023) * 3125;
  Digits digits;
  digits.write_five((remainder_times_five_pow_five & 31) * 3125);
  digits.write_five(remainder_times_five_pow_five >> 5);
  const std::uint64_t whole_kilobytes = bytes >> 10;
  if (whole_kilobytes != 0) {
    digits.write_leading(whole_kilobytes);
  } else {
    digits.drop_leading_zeros();
  }
  return significant_figure(digits, 10, separator);
}

}  // namespace toolcase::sysinfo
