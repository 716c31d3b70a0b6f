#include "notify/notify_text.h"

#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <vector>

using namespace toolcase::notify;
using toolcase::Text;

namespace {

struct Cut {
  std::string field;
  std::string rest;
};

Cut cut(std::string_view line) {
  Text working(line);
  const Text field = cut_field(working);
  return {std::string(field.view()), std::string(working.view())};
}

// A refused line and what it leaves in the working text.
struct Refusal {
  std::string line;
  std::string left;
};

}  // namespace

TEST(CutField, TakesTheBytesBeforeTheFirstSemicolonAndDeletesThroughIt) {
  const Cut plain = cut("ok;information;T;Hello");
  EXPECT_EQ(plain.field, "ok");
  EXPECT_EQ(plain.rest, "information;T;Hello");

  const Cut separator_first = cut(";abc");
  EXPECT_EQ(separator_first.field, "");
  EXPECT_EQ(separator_first.rest, "abc");

  const Cut separator_last = cut("ab;");
  EXPECT_EQ(separator_last.field, "ab");
  EXPECT_EQ(separator_last.rest, "");
}

TEST(CutField, WithoutSemicolonGivesAnEmptyFieldAndKeepsTheText) {
  const Cut none = cut("no separator");
  EXPECT_EQ(none.field, "");
  EXPECT_EQ(none.rest, "no separator");
  // The rest still loses its leading blanks, though nothing was cut.
  const Cut blanks = cut("   no separator");
  EXPECT_EQ(blanks.field, "");
  EXPECT_EQ(blanks.rest, "no separator");
  const Cut empty = cut("");
  EXPECT_EQ(empty.field, "");
  EXPECT_EQ(empty.rest, "");
}

TEST(CutField, RemovesOnlyLeadingBlanksOfTheRestAndNeverTouchesTheField) {
  const Cut cut_blanks = cut("  ok  ;   rest  ");
  EXPECT_EQ(cut_blanks.field, "  ok  ");
  EXPECT_EQ(cut_blanks.rest, "rest  ");
  // A tab, or any byte other than 0x20, is text.
  EXPECT_EQ(cut("ab;\tx").rest, "\tx");
  EXPECT_EQ(cut("ab; \xA0x").rest, "\xA0x");
  EXPECT_EQ(cut("ab;     ").rest, "");
  // Blanks that follow a leading ";" of the rest are not leading any more.
  EXPECT_EQ(cut("ab;  ;  x").rest, ";  x");
}

TEST(ReadDialogLine, AcceptsTheExampleLines) {
  Text working("yesno;question;Confirm;Delete the log?");
  std::optional<DialogRequest> request = read_dialog_line(working);
  ASSERT_TRUE(request);
  EXPECT_EQ(request->style, 0x24u);
  EXPECT_EQ(request->caption, "Confirm");
  EXPECT_EQ(request->message, "Delete the log?");
  EXPECT_EQ(working, "");

  working.assign("OK; Information; Title; Hello");
  request = read_dialog_line(working);
  ASSERT_TRUE(request);
  EXPECT_EQ(request->style, 0x40u);
  EXPECT_EQ(request->caption, "Title");
  EXPECT_EQ(request->message, "Hello");
  EXPECT_EQ(working, "");
}

TEST(ReadDialogLine, TheMessageIsEverythingAfterTheCaptionOrAfterTheIconField) {
  Text working("ok;information;Hello there");
  std::optional<DialogRequest> request = read_dialog_line(working);
  ASSERT_TRUE(request);
  EXPECT_EQ(request->caption, "");
  EXPECT_EQ(request->message, "Hello there");
  EXPECT_EQ(working, "");

  working.assign("ok;information;T;a;b;c");
  request = read_dialog_line(working);
  ASSERT_TRUE(request);
  EXPECT_EQ(request->caption, "T");
  EXPECT_EQ(request->message, "a;b;c");

  working.assign("ok;error;T;Hello;");
  request = read_dialog_line(working);
  ASSERT_TRUE(request);
  EXPECT_EQ(request->message, "Hello;");

  working.assign("ok;information; ;  Hi");
  request = read_dialog_line(working);
  ASSERT_TRUE(request);
  EXPECT_EQ(request->caption, "");
  EXPECT_EQ(request->message, "Hi");
}

TEST(ReadDialogLine, CaptionAndMessageKeepTheirBytesCaseAndTrailingBlanks) {
  Text working("ok;WARNING;\tMy Title  ;\tSay \xC4\xD6;  ");
  const std::optional<DialogRequest> request = read_dialog_line(working);
  ASSERT_TRUE(request);
  EXPECT_EQ(request->style, 0x30u);
  EXPECT_EQ(request->caption, "\tMy Title  ");
  EXPECT_EQ(request->message, "\tSay \xC4\xD6;  ");
}

TEST(ReadDialogLine, TheWholeLineMustHoldTwelveBytes) {
  Text working("ok;error;abc");
  const std::optional<DialogRequest> request = read_dialog_line(working);
  ASSERT_TRUE(request);
  EXPECT_EQ(request->style, 0x10u);
  EXPECT_EQ(request->caption, "");
  EXPECT_EQ(request->message, "abc");

  working.assign("ok;error;ab");
  EXPECT_FALSE(read_dialog_line(working));
  EXPECT_EQ(working, "ok;error;ab");
}

TEST(ReadDialogLine, FieldsAtTheirShortestPass) {
  // Buttons 2 bytes, icon 5 bytes, caption empty, message 2 bytes.
  Text working("ok;error;;ab");
  const std::optional<DialogRequest> request = read_dialog_line(working);
  ASSERT_TRUE(request);
  EXPECT_EQ(request->caption, "");
  EXPECT_EQ(request->message, "ab");
}

TEST(ReadDialogLine, StyleIsTheButtonValuePlusTheIconValueInAnyLetterCase) {
  const std::vector<std::pair<std::string, unsigned>> buttons = {
      {"yesno", 0x4}, {"abortretryignore", 0x2}, {"yesnocancel", 0x3}, {"ok", 0x0},
      {"YesNo", 0x4}, {"ABORTRETRYIGNORE", 0x2}, {"yesNoCancel", 0x3}, {"Ok", 0x0}};
  const std::vector<std::pair<std::string, unsigned>> icons = {
      {"information", 0x40}, {"error", 0x10}, {"warning", 0x30}, {"question", 0x20},
      {"INFORMATION", 0x40}, {"Error", 0x10}, {"wArNiNg", 0x30}, {"Question", 0x20}};
  for (const auto& [button_word, button_value] : buttons) {
    for (const auto& [icon_word, icon_value] : icons) {
      Text working(button_word + ";" + icon_word + ";Caption;Message");
      const std::optional<DialogRequest> request = read_dialog_line(working);
      ASSERT_TRUE(request) << button_word << ";" << icon_word;
      EXPECT_EQ(request->style, button_value + icon_value) << button_word << ";" << icon_word;
    }
  }
}

TEST(ReadDialogLine, RefusalsLeaveWhatWasNotYetCut) {
  const std::vector<Refusal> refusals = {
      // Too short: the whole line stays.
      {"", ""},
      {"ok;error;ab", "ok;error;ab"},
      {"           ", "           "},
      // Buttons field too short; without any ";" it is empty.
      {"okinformation", "okinformation"},
      {"   okinformation", "okinformation"},
      {"o;information;T;Hello", "information;T;Hello"},
      {";information;T;Hello", "information;T;Hello"},
      // Icon field too short: a single ";", a blank or empty rest, "info".
      {"ok;information", "information"},
      {"ok;      ;T;Hello", "T;Hello"},
      {std::string("ok;") + std::string(10, ' '), ""},
      {"ok;info;T;Hello", "T;Hello"},
      {"yesno;;Caption;Message", "Caption;Message"},
      // Message field too short: everything was cut.
      {"ok;information;T;x", ""},
      {"ok;information;Title;", ""},
      {"ok;information;Title;      ", ""},
      {"ok;information;;;", ""},
      // Unknown keywords, checked after the message was taken.
      {" ok;information;T;Hello", ""},
      {"ok;warning ;T;Hello", ""},
      {"okay;information;T;Hello", ""},
      {"ok;informations;T;Hello", ""},
      {"ok;\xC5rror;T;Hello", ""},
      {"ok\t;error;T;Hello", ""},
      {"yes;error;T;Hello", ""},
  };
  for (const Refusal& refusal : refusals) {
    Text working(refusal.line);
    EXPECT_FALSE(read_dialog_line(working)) << '"' << refusal.line << '"';
    EXPECT_EQ(working, refusal.left) << '"' << refusal.line << '"';
  }
}

TEST(ButtonAnswer, NamesTheSevenButtonsAndNothingElse) {
  const std::vector<std::string> words = {"ok", "cancel", "abort", "retry", "ignore", "yes", "no"};
  for (int pressed = 1; pressed <= 7; ++pressed) {
    EXPECT_EQ(button_answer(pressed), words[static_cast<std::size_t>(pressed - 1)]);
  }
  for (int other : {0, -1, 8, 10, 11, 0x7FFFFFFF, INT_MIN}) {
    EXPECT_EQ(button_answer(other), "error") << other;
  }
}

TEST(SoundType, KnowsFourKeywordsInAnyLetterCase) {
  EXPECT_EQ(sound_type("information"), 0x40u);
  EXPECT_EQ(sound_type("Information"), 0x40u);
  EXPECT_EQ(sound_type("warning"), 0x30u);
  EXPECT_EQ(sound_type("WARNING"), 0x30u);
  EXPECT_EQ(sound_type("error"), 0x10u);
  EXPECT_EQ(sound_type("eRRor"), 0x10u);
  EXPECT_EQ(sound_type("default"), 0x0u);
  EXPECT_EQ(sound_type("DeFault"), 0x0u);
  for (const char* other : {"question", " default", "default ", "", "info", "\xC5rror", "ok"}) {
    EXPECT_FALSE(sound_type(other)) << '"' << other << '"';
  }
}
