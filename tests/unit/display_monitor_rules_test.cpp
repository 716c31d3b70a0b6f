#include "display/monitor_rules.h"

#include <gtest/gtest.h>

#include <string>

using namespace toolcase::display;
using Kind = MonitorRequest::Kind;

TEST(MonitorRequest, TakesKeywordsInAnyCaseAndNumbersWithoutSignOrLeadingZero) {
  const struct {
    const char* input;
    Kind kind;
    int number;
    const char* window;
  } rows[] = {
      {"count", Kind::count, 0, ""},     {"COUNT", Kind::count, 0, ""},
      {"1", Kind::place, 1, ""},         {"12 work", Kind::work_area, 12, ""},
      {"3 Scale", Kind::scale, 3, ""},   {"Of;mIRC", Kind::window, 0, "mIRC"},
      {"of;", Kind::window, 0, ""},      {"of;a;b", Kind::window, 0, "a;b"},
      {"0", Kind::invalid, 0, ""},       {"01", Kind::invalid, 0, ""},
      {"+1", Kind::invalid, 0, ""},      {"-1", Kind::invalid, 0, ""},
      {"1 ", Kind::invalid, 0, ""},      {"1  work", Kind::invalid, 0, ""},
      {"1 workarea", Kind::invalid, 0, ""}, {" 1", Kind::invalid, 0, ""},
      {"of", Kind::invalid, 0, ""},      {"1 work;x", Kind::invalid, 0, ""},
      {"count ", Kind::invalid, 0, ""},  {"", Kind::invalid, 0, ""},
      {"999", Kind::place, 999, ""},     {"99999999999", Kind::invalid, 0, ""},
  };
  for (const auto& row : rows) {
    const MonitorRequest request = parse_monitor_request(row.input);
    EXPECT_EQ(request.kind, row.kind) << row.input;
    EXPECT_EQ(request.number, row.number) << row.input;
    EXPECT_EQ(std::string(request.window_part), row.window) << row.input;
  }
}

TEST(ScalePercent, RoundsDpiOver96ToTheNearestPercent) {
  const struct {
    unsigned dpi;
    const char* percent;
  } rows[] = {{96, "100%"}, {120, "125%"}, {144, "150%"}, {192, "200%"}, {97, "101%"}, {72, "75%"}};
  for (const auto& row : rows) EXPECT_EQ(scale_percent(row.dpi).view(), row.percent) << row.dpi;
}
