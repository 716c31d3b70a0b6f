#include "window/title_pattern.h"

#include <gtest/gtest.h>

#include <string_view>

using toolcase::window::title_matches;

TEST(TitlePattern, MatchesTheWholeTitleTakingMoreAtTheLastStarWhenTheRestFails) {
  const struct {
    std::u16string_view pattern, title;
    bool matches;
  } rows[] = {
      {u"*ab", u"aab", true},   {u"*a*b", u"xaybzb", true}, {u"a*b*c", u"abcbc", true},
      {u"**a", u"a", true},     {u"*?", u"a", true},        {u"a*?", u"a", false},
      {u"?", u"", false},       {u"*b?", u"abab", false},   {u"abc", u"abcd", false},
      // A character beyond U+FFFF is one character, two units.
      {u"?", u"\U0001F600", true}, {u"??", u"\U0001F600", false}, {u"*?x", u"\U0001F600x", true},
  };
  for (const auto& row : rows) {
    EXPECT_EQ(title_matches(row.title, row.pattern), row.matches)
        << std::string(row.pattern.begin(), row.pattern.end());
  }
}
