#include "sysinfo/machine_facts.h"

#include <gtest/gtest.h>

#include <cstdint>

using toolcase::sysinfo::busy_percent;

// Kernel time includes idle time; the figure is rounded half up.
TEST(BusyPercent, IsTheShareOfTimeNotIdleRoundedAndNeverAboveAHundred) {
  const struct {
    std::uint64_t idle, kernel, user;
    std::uint32_t percent;
  } rows[] = {
      {0, 0, 0, 0},           {50, 100, 100, 75},  {199, 200, 0, 1},       {201, 200, 0, 0},
      {1, 200, 0, 100},       {3, 200, 0, 99},     {0, 100, 0, 100},
      {1ull << 52, (1ull << 53), 0, 50},  // 40 days of 256 processors between two calls
  };
  for (const auto& row : rows) {
    EXPECT_EQ(busy_percent(row.idle, row.kernel, row.user), row.percent)
        << row.idle << " " << row.kernel << " " << row.user;
  }
}
