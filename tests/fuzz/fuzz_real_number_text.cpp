// Kilobyte figures for any 32- or 64-bit byte count and separator, against the quotient
// worked out digit by digit.
#include <algorithm>
#include <cstdint>
#include <string>

#include "fuzz_input.h"
#include "sysinfo/real_number_text.h"

using namespace toolcase;

namespace {

// bytes / 1024 by long division, rounded half up to 15 significant digits:
// the digits and how many of them stand before the decimal point.
std::string kilobytes_digits(std::uint64_t bytes, int& integer_digits) {
  std::string digits = std::to_string(bytes / 1024);
  integer_digits = static_cast<int>(digits.size());
  // 1024 is 2^10: the division ends within ten decimals.
  for (std::uint64_t remainder = bytes % 1024; remainder != 0; remainder %= 1024) {
    remainder *= 10;
    digits += static_cast<char>('0' + remainder / 1024);
  }
  while (digits.size() > 1 && digits.front() == '0') {
    digits.erase(0, 1);
    --integer_digits;
  }
  if (digits.size() > 15) {
    const bool round_up = digits[15] >= '5';
    digits.resize(15);
    for (std::size_t at = 15; round_up; digits[--at] = '0') {
      if (at == 0) {
        digits.insert(0, "1");
        ++integer_digits;
        break;
      }
      if (digits[at - 1] != '9') {
        ++digits[at - 1];
        break;
      }
    }
  }
  return digits;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  fuzz::Input input(data, size);
  const auto low = static_cast<std::uint32_t>(input.next_int());
  const auto high = static_cast<std::uint32_t>(input.next_int());
  // A 32-bit process reads 32-bit counts, a 64-bit one counts of any size.
  const std::uint64_t bytes = high % 2 == 0 ? low : std::uint64_t{high} << 32 | low;
  const std::string rest = input.rest();
  // Any byte but a digit can separate; the platform's are "." and ",".
  const char separator = rest.empty() || (rest[0] >= '0' && rest[0] <= '9') ? '.' : rest[0];
  const std::string text(sysinfo::kilobytes_text(bytes, separator).view());

  int integer_digits = 0;
  std::string digits = kilobytes_digits(bytes, integer_digits);
  digits.erase(digits.find_last_not_of('0') + 1);
  std::string expected = "0";
  if (integer_digits <= 0) {
    expected += separator + std::string(static_cast<std::size_t>(-integer_digits), '0') + digits;
  } else if (!digits.empty()) {
    digits.resize(std::max(digits.size(), static_cast<std::size_t>(integer_digits)), '0');
    expected = digits.substr(0, integer_digits);
    if (digits.size() > static_cast<std::size_t>(integer_digits)) {
      expected += separator + digits.substr(integer_digits);
    }
  }
  FUZZ_CHECK(text == expected);

  // No sign, no exponent, no trailing zero after the separator, at most 15
  // significant digits.
  std::string all_digits;
  for (const char c : text.substr(text.starts_with("0") ? 1 : 0)) {
    FUZZ_CHECK((c >= '0' && c <= '9') || c == separator);
    if (c != separator) all_digits += c;
  }
  // Zeros that fill a whole number of 16 digits or more up to its point are
  // not significant.
  const std::size_t first_significant = all_digits.find_first_not_of('0');
  if (first_significant != std::string::npos) {
    FUZZ_CHECK(all_digits.find_last_not_of('0') - first_significant < 15);
  }
  if (text.find(separator) != std::string::npos) FUZZ_CHECK(text.back() != '0');
  // Whole numbers, such as the load percentage, are written as they are.
  FUZZ_CHECK(sysinfo::real_number_text(low, 0, separator) == std::to_string(low));
  return 0;
}
