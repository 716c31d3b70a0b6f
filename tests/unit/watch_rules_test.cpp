#include "watch/watch_rules.h"

#include <gtest/gtest.h>

#include <string>

using namespace toolcase::watch;
using Kind = WatchRequest::Kind;

TEST(WatchRequest, NamesAKindAndItsArgument) {
  const struct {
    std::string input;
    Kind kind;
    std::uint32_t seconds;
    const char* argument;
  } rows[] = {
      {"", Kind::list, 0, ""},
      {"away;idle 600", Kind::idle, 600, ""},
      {"a;IDLE 86400", Kind::idle, 86400, ""},
      {"Tc-np_2;window * - Spotify", Kind::window, 0, "* - Spotify"},
      {"g;Process game.exe", Kind::process, 0, "game.exe"},
      {std::string(32, 'n') + ";idle 1", Kind::idle, 1, ""},
      {std::string(33, 'n') + ";idle 1", Kind::invalid, 0, ""},
      {"a b;idle 1", Kind::invalid, 0, ""},  {";idle 1", Kind::invalid, 0, ""},
      {"a;idle 0", Kind::invalid, 0, ""},    {"a;idle 86401", Kind::invalid, 0, ""},
      {"a;idle 010", Kind::invalid, 0, ""},  {"a;idle +5", Kind::invalid, 0, ""},
      {"a;idle  5", Kind::invalid, 0, ""},   {"a;window ", Kind::invalid, 0, ""},
      {"a;window", Kind::invalid, 0, ""},    {"a;nap 5", Kind::invalid, 0, ""},
      {"a", Kind::invalid, 0, ""},           {"\xC3\xA9;idle 5", Kind::invalid, 0, ""},
      {"np;Media", Kind::media, 0, ""},      {"np;media x", Kind::invalid, 0, ""},
      {"n p;media", Kind::invalid, 0, ""},   {"f;Front", Kind::front, 0, ""},
      {"f;front x", Kind::invalid, 0, ""},   {"f;front ", Kind::invalid, 0, ""},
      {"h;PRESENCE", Kind::presence, 0, ""},
  };
  for (const auto& row : rows) {
    const WatchRequest request = parse_watch_request(row.input);
    EXPECT_EQ(request.kind, row.kind) << row.input;
    EXPECT_EQ(request.seconds, row.seconds) << row.input;
    EXPECT_EQ(request.argument, row.argument) << row.input;
  }
  EXPECT_TRUE(same_name("Tc-Away", "tc-AWAY"));
}

// 300 lines into 256 places: 255 lines, then one that counts the other 45,
// and each line more while the count is last; once it is read, lines follow.
TEST(EventQueue, CountsWhatItCannotHoldWhereItWouldHaveBeen) {
  EventQueue queue;
  for (int i = 0; i < 300; ++i) queue.push("line " + std::to_string(i));
  EXPECT_EQ(queue.pop()->view(), "line 0");
  queue.push("one more");
  for (int i = 1; i < 255; ++i) EXPECT_EQ(queue.pop()->view(), "line " + std::to_string(i));
  EXPECT_EQ(queue.pop()->view(), "* lost 46");
  queue.push("after");
  EXPECT_EQ(queue.pop()->view(), "after");
  EXPECT_FALSE(queue.pop());
}

TEST(IdleWatch, TellsIdleOnceThenBackAtTheNextInputAcrossTheTickWrap) {
  IdleWatch watch(60);
  const std::uint32_t input = 0xFFFF0000;  // 65 s before the tick count wraps
  EXPECT_FALSE(watch.read(input + 59'999, input));
  EXPECT_EQ(watch.read(input + 61'000, input)->seconds, 61u);
  EXPECT_FALSE(watch.read(input + 90'000, input));
  const auto back = watch.read(input + 95'000, input + 94'500);
  EXPECT_TRUE(back->back);
  EXPECT_EQ(back->seconds, 94u);
  EXPECT_FALSE(watch.read(input + 96'000, input + 95'500));
  EXPECT_FALSE(watch.read(10, 20));  // input stamped ahead of the tick count
  // Input stamped before the idle time began: back, after no time, never a wrapped count.
  IdleWatch stamped(1);
  EXPECT_EQ(stamped.read(input + 5'000, input)->seconds, 5u);
  EXPECT_EQ(stamped.read(input + 6'000, input - 3'000)->seconds, 0u);
}

// Read lines in order: the status at once, a new line once read twice alike.
TEST(MediaWatch, TellsTheStatusAtOnceAndATrackOnceItIsReadTwiceAlike) {
  MediaWatch watch;
  const struct {
    const char* status;
    const char* line;
    bool status_told, track_told;
  } readings[] = {
      {"playing", "One", true, true},  {"playing", "Two", false, false}, {"playing", "B - Two", false, false},
      {"playing", "B - Two", false, true}, {"paused", "B - Two", true, false}, {"false", "", true, false},
      {"playing", "B - Two", true, false}, {"playing", "B - Two", false, false},
  };
  for (const auto& r : readings) {
    const MediaWatch::Report report = watch.read(r.status, r.line);
    EXPECT_EQ(report.status, r.status_told) << r.status << " " << r.line;
    EXPECT_EQ(report.track, r.track_told) << r.status << " " << r.line;
  }
  EXPECT_FALSE(MediaWatch().read("false", "").track);
}
