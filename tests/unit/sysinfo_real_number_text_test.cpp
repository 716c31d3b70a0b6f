#include "sysinfo/real_number_text.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

using namespace toolcase::sysinfo;

namespace {

// bytes / 1024 written out in full by long division: its expansion ends
// after at most ten fractional digits.
std::string exact_quotient(std::uint64_t bytes) {
  std::string text = std::to_string(bytes / 1024);
  std::uint64_t remainder = bytes % 1024;
  if (remainder != 0) text += '.';
  while (remainder != 0) {
    remainder *= 10;
    text += static_cast<char>('0' + remainder / 1024);
    remainder %= 1024;
  }
  return text;
}

// Adds 5 in the place of the 16th significant digit and clears from there:
// half up, worked on the decimal text itself.
std::string rounded_to_15_digits(const std::string& exact) {
  const std::size_t point = exact.find('.');
  std::size_t whole_length = point == std::string::npos ? exact.size() : point;
  std::string digits = exact.substr(0, whole_length);
  if (point != std::string::npos) digits += exact.substr(point + 1);
  const std::size_t first = digits.find_first_not_of('0');
  if (first == std::string::npos) return "0";
  std::size_t cut = first + 15;
  if (cut < digits.size()) {
    int carry = 5;
    for (std::size_t i = cut + 1; i-- > 0 && carry != 0;) {
      const int digit = digits[i] - '0' + carry;
      digits[i] = static_cast<char>('0' + digit % 10);
      carry = digit / 10;
    }
    if (carry != 0) {
      digits.insert(0, "1");
      ++whole_length;
      ++cut;
    }
    for (std::size_t i = cut; i < digits.size(); ++i) digits[i] = '0';
  }
  std::string whole = digits.substr(0, whole_length);
  std::string fraction = digits.substr(whole_length);
  whole.erase(0, std::min(whole.find_first_not_of('0'), whole.size() - 1));
  fraction.erase(fraction.find_last_not_of('0') + 1);
  return fraction.empty() ? whole : whole + "." + fraction;
}

}  // namespace

TEST(KilobytesText, WritesTheWorkedExamples) {
  EXPECT_EQ(kilobytes_text(536330240, '.'), "523760");
  EXPECT_EQ(kilobytes_text(123456789, '.'), "120563.270507813");
  EXPECT_EQ(kilobytes_text(1, '.'), "0.0009765625");
  EXPECT_EQ(kilobytes_text(4294967295u, '.'), "4194303.99902344");
  EXPECT_EQ(kilobytes_text(0, '.'), "0");
}

TEST(KilobytesText, UsesTheSeparatorItIsGivenAndNeverGroups) {
  EXPECT_EQ(kilobytes_text(123456789, ','), "120563,270507813");
  EXPECT_EQ(kilobytes_text(1, ','), "0,0009765625");
  EXPECT_EQ(kilobytes_text(4294966272u, ','), "4194303");
  EXPECT_EQ(kilobytes_text(1024u * 1000000u, '.'), "1000000");
}

TEST(KilobytesText, MultiplesOf1024AreWholeNumbers) {
  for (std::uint32_t kilobytes : {1u, 2u, 10u, 512u, 1000u, 523760u, 4194303u}) {
    EXPECT_EQ(kilobytes_text(kilobytes * 1024, '.'), std::to_string(kilobytes));
  }
}

TEST(KilobytesText, ExactTiesRoundUp) {
  // 1205632705078125 / 10^10: the 16th digit is a 5 with nothing after it.
  EXPECT_EQ(exact_quotient(123456789), "120563.2705078125");
  EXPECT_EQ(kilobytes_text(123456789, '.'), "120563.270507813");
}

TEST(KilobytesText, AgreesWithLongDivisionOverManyCounts) {
  std::vector<std::uint32_t> counts;
  for (std::uint32_t n = 0; n < 20000; ++n) counts.push_back(n);
  for (std::uint32_t n = 0; n < 20000; ++n) counts.push_back(4294967295u - n);
  for (int bit = 0; bit < 32; ++bit) {
    const std::uint32_t power = 1u << bit;
    counts.insert(counts.end(), {power - 1, power, power + 1});
  }
  std::uint32_t state = 12345;
  for (int i = 0; i < 200000; ++i) {
    state = state * 1664525u + 1013904223u;
    counts.push_back(state);
  }
  for (std::uint32_t bytes : counts) {
    ASSERT_EQ(kilobytes_text(bytes, '.'), rounded_to_15_digits(exact_quotient(bytes)))
        << bytes << " bytes";
  }
}

TEST(KilobytesText, StaysExactForSixtyFourBitCounts) {
  EXPECT_EQ(kilobytes_text(18446744073709551615u, '.'), "18014398509482000");
  EXPECT_EQ(kilobytes_text(8589934592u, '.'), "8388608");            // 8 GB
  EXPECT_EQ(kilobytes_text(140737488355328u, '.'), "137438953472");  // 128 TB
  EXPECT_EQ(kilobytes_text(4294967297u, ','), "4194304,00097656");
  // Counts from which bytes x 5^10 no longer fits in 64 bits, and every
  // power of two with its neighbours, and a spread of 64-bit values.
  std::vector<std::uint64_t> counts;
  const std::uint64_t overflow_from = UINT64_MAX / 9765625 + 1;
  for (std::uint64_t n = 0; n < 2000; ++n) {
    counts.insert(counts.end(), {overflow_from - 1000 + n, UINT64_MAX - n});
  }
  for (int bit = 32; bit < 64; ++bit) {
    const std::uint64_t power = std::uint64_t{1} << bit;
    counts.insert(counts.end(), {power - 1, power, power + 1});
  }
  std::uint64_t state = 88172645463325252u;
  for (int i = 0; i < 200000; ++i) {
    state ^= state << 13;
    state ^= state >> 7;
    state ^= state << 17;
    counts.insert(counts.end(), {state, state >> (i % 64)});
  }
  for (std::uint64_t bytes : counts) {
    ASSERT_EQ(kilobytes_text(bytes, '.'), rounded_to_15_digits(exact_quotient(bytes)))
        << bytes << " bytes";
  }
}

TEST(RealNumberText, WholeNumbersPassUnchanged) {
  EXPECT_EQ(real_number_text(37, 0, '.'), "37");
  EXPECT_EQ(real_number_text(100, 0, '.'), "100");
  EXPECT_EQ(real_number_text(0, 0, '.'), "0");
  EXPECT_EQ(real_number_text(4294967295u, 0, ','), "4294967295");
}

TEST(RealNumberText, ACarryOutOfTheFirstDigitAddsAPlace) {
  EXPECT_EQ(real_number_text(9999999999999995, 10, '.'), "1000000");
  EXPECT_EQ(real_number_text(9999999999999994, 10, '.'), "999999.999999999");
  EXPECT_EQ(real_number_text(99999999999999950, 17, '.'), "1");
  EXPECT_EQ(real_number_text(99999999999999950, 18, '.'), "0.1");
  EXPECT_EQ(real_number_text(1999999999999999, 15, '.'), "2");
}

TEST(RealNumberText, RoundsAwayDigitsBeforeThePointWithZeros) {
  // 17 integer digits: the last two become zeros after rounding.
  EXPECT_EQ(real_number_text(12345678901234567, 0, '.'), "12345678901234600");
  EXPECT_EQ(real_number_text(12345678901234549, 0, '.'), "12345678901234500");
}

TEST(RealNumberText, TheLongestFiguresFit) {
  EXPECT_EQ(real_number_text(1, 20, '.'), "0.00000000000000000001");
  EXPECT_EQ(real_number_text(18446744073709551615u, 0, '.'), "18446744073709600000");
  EXPECT_EQ(real_number_text(18446744073709551615u, 20, '.'), "0.184467440737096");
  FigureText answer = kilobytes_text(4294967295u, '.');
  answer.append("KB");
  EXPECT_EQ(answer, "4194303.99902344KB");
}
