#include "network/network_rules.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

using namespace toolcase::network;

TEST(SpeedText, IsMegabitsToOneDecimalHalfUp) {
  const struct {
    std::uint64_t bits;
    const char* text;
  } rows[] = {
      {1'000'000'000, "1000Mbps"}, {866'700'000, "866.7Mbps"}, {100'000, "0.1Mbps"},
      {866'650'000, "866.7Mbps"},  {866'649'999, "866.6Mbps"}, {999'950'000, "1000Mbps"},
      {0, ""},                     {UINT64_MAX, ""},
  };
  for (const auto& row : rows) {
    const auto text = speed_text(row.bits);
    EXPECT_EQ(text ? std::string(text->view()) : "", row.text) << row.bits;
  }
}

TEST(RateMeter, CountsBytesPerSecondBetweenItsLastTwoDueReadings) {
  EXPECT_EQ(bytes_between(5000, 1000, true), 1000u);           // the adapter restarted
  EXPECT_EQ(bytes_between(0xFFFFFF00, 0x100, false), 0x200u);  // 32 bits wrapped once
  EXPECT_EQ(per_second(1001, 2000), 500'500u);
  EXPECT_EQ(per_second(3, 2'000'000), 2u);  // 1.5, half up
  EXPECT_EQ(per_second(7, 0), 0u);
  constexpr std::uint64_t kYear = 365ULL * 86400;  // of a 10 MHz counter, past 64 bits if multiplied first
  EXPECT_EQ(microseconds_of(kYear * 10'000'000 + 5, 10'000'000), kYear * 1'000'000);
  RateMeter meter;
  EXPECT_TRUE(meter.record({3, 1000, 50, 1'000'000, true}));
  EXPECT_FALSE(meter.has_rates(3));
  EXPECT_TRUE(meter.is_fresh(3, 1'249'999));
  EXPECT_FALSE(meter.is_fresh(3, 1'250'000));
  // Overlapping callers: one not due yet, one older than the last.
  EXPECT_FALSE(meter.record({3, 2000, 60, 1'001'000, true}));
  EXPECT_FALSE(meter.record({3, 500, 40, 999'000, true}));
  EXPECT_TRUE(meter.record({3, 3000, 550, 1'500'000, true}));
  ASSERT_TRUE(meter.has_rates(3));
  EXPECT_EQ(meter.rates().down, 4000u);
  EXPECT_EQ(meter.rates().up, 1000u);
  meter.record({4, 9000, 9000, 1'600'000, true});  // another adapter starts afresh
  EXPECT_FALSE(meter.has_rates(4));
  EXPECT_FALSE(meter.is_fresh(3, 1'600'000));
}
