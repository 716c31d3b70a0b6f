#include "media/media_rules.h"

#include <gtest/gtest.h>

#include <string>

using namespace toolcase::media;

TEST(ClassicTitle, LosesItsListNumberAndThePlayersEndings) {
  const std::pair<std::u16string, std::u16string> rows[] = {
      {u"12. Band - Song - Winamp [Paused]", u"Band - Song"}, {u"Song - Winamp [Stopped]", u"Song"},
      {u"1. 2. Song [Paused] - Winamp", u"2. Song"},          {u"Winamp 5.9", u"Winamp 5.9"},
      {u"12.Song", u"12.Song"},                               {u" - Winamp", u""},
  };
  for (const auto& [title, kept] : rows) EXPECT_EQ(classic_title(std::u16string_view(title)), kept);
}

TEST(BlankLineBreaks, ControlCodesAndLineSeparatorsBecomeBlanks) {
  std::u16string text = u"a\u0001b\u007f\u2028\u2029|\u00e9\n";
  blank_line_breaks(std::span<char16_t>(text));
  EXPECT_EQ(text, u"a b   |\u00e9 ");
}

TEST(SessionState, ChangingKeepsTheStateResolvedBefore) {
  const struct {
    int status;
    std::optional<PlayState> before;
    PlayState state;
  } rows[] = {
      {0, PlayState::playing, PlayState::none},    {1, std::nullopt, PlayState::stopped},
      {2, PlayState::playing, PlayState::playing}, {2, std::nullopt, PlayState::paused},
      {3, PlayState::playing, PlayState::stopped}, {4, std::nullopt, PlayState::playing},
      {5, std::nullopt, PlayState::paused},        {9, std::nullopt, PlayState::stopped},
  };
  for (const auto& row : rows) EXPECT_EQ(session_state(row.status, row.before), row.state) << row.status;
}
