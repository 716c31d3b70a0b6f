#include "shell/shell_requests.h"

#include <gtest/gtest.h>

using namespace toolcase::shell;

TEST(StartButtonRequest, KnowsItsThreeKeywordsInAnyAsciiCase) {
  EXPECT_EQ(start_button_request("show"), StartButtonRequest::show);
  EXPECT_EQ(start_button_request("HIDE"), StartButtonRequest::hide);
  EXPECT_EQ(start_button_request("Simulate"), StartButtonRequest::simulate);
}

TEST(StartButtonRequest, AnythingElseAsksForNothing) {
  for (const char* input : {"", "start", "disable", "enable", " show", "hide ", "simulated",
                            "\xD3how"}) {
    EXPECT_EQ(start_button_request(input), StartButtonRequest::none) << input;
  }
}

TEST(DesktopIconsRequest, KnowsItsFourKeywordsInAnyAsciiCase) {
  EXPECT_EQ(desktop_icons_request("DISABLE"), DesktopIconsRequest::disable);
  EXPECT_EQ(desktop_icons_request("enable"), DesktopIconsRequest::enable);
  EXPECT_EQ(desktop_icons_request("Show"), DesktopIconsRequest::show);
  EXPECT_EQ(desktop_icons_request("hIDE"), DesktopIconsRequest::hide);
}

TEST(DesktopIconsRequest, AnythingElseAsksForNothing) {
  for (const char* input : {"", "simulate", "disabled", "nable", "enable ", "\tshow", "hid"}) {
    EXPECT_EQ(desktop_icons_request(input), DesktopIconsRequest::none) << input;
  }
}

TEST(StateChangeAnswer, IsErrorOnlyWhenTheWindowWasAlreadySo) {
  EXPECT_EQ(state_change_answer(false), "true");
  EXPECT_EQ(state_change_answer(true), "error");
}
