#include "media/media_rules.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace toolcase::media;

TEST(MediaRequest, KeywordsAsEveryCommandMatchesThem) {
  const std::pair<const char*, MediaRequest> rows[] = {
      {"", MediaRequest::line},         {"Title", MediaRequest::title}, {"PLAYER", MediaRequest::player},
      {"previous", MediaRequest::previous}, {"title ", MediaRequest::invalid}, {"play", MediaRequest::invalid},
  };
  for (const auto& [input, request] : rows) EXPECT_EQ(parse_media_request(input), request) << input;
}

TEST(ChosenSource, ThePlayingOneElseThePausedOneElseAnyThereIs) {
  using enum PlayState;
  const struct {
    std::vector<PlayState> sources;
    std::size_t chosen;
  } rows[] = {
      {{paused, playing, playing}, 1}, {{stopped, paused, paused}, 1}, {{none, stopped}, 1}, {{none, none}, 2},
  };
  for (const auto& row : rows) EXPECT_EQ(chosen_source(row.sources), row.chosen);
  EXPECT_EQ(session_state(4), playing);
  EXPECT_EQ(session_state(1), stopped);
  EXPECT_EQ(classic_state(3), paused);
  EXPECT_EQ(classic_state(2), stopped);
}

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
