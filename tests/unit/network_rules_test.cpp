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

TEST(RateMeter, CountsBytesPerSecondBetweenItsLastTwoReadings) {
  EXPECT_EQ(bytes_between(5000, 1000, true), 1000u);           // the adapter restarted
  EXPECT_EQ(bytes_between(0xFFFFFF00, 0x100, false), 0x200u);  // 32 bits wrapped once
  EXPECT_EQ(per_second(1001, 2), 500'500u);
  EXPECT_EQ(per_second(3, 2000), 2u);  // 1.5, half up
  EXPECT_EQ(per_second(7, 0), 0u);
  RateMeter meter;
  meter.record({3, 1000, 50, 0xFFFFFF00, true});
  EXPECT_FALSE(meter.has_rates(3));
  EXPECT_TRUE(meter.is_fresh(3, 0xFFFFFF00 + 249));  // across the tick's wrap
  EXPECT_FALSE(meter.is_fresh(3, 0xFFFFFF00 + 250));
  meter.record({3, 3000, 550, 0xFFFFFF00 + 500, true});
  ASSERT_TRUE(meter.has_rates(3));
  EXPECT_EQ(meter.rates().down, 4000u);
  EXPECT_EQ(meter.rates().up, 1000u);
  meter.record({4, 9000, 9000, 0xFFFFFF00 + 600, true});  // another adapter starts afresh
  EXPECT_FALSE(meter.has_rates(4));
  EXPECT_FALSE(meter.is_fresh(3, 0xFFFFFF00 + 600));
}
