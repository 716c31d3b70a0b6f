#include "host/text.h"

#include <gtest/gtest.h>

#include <climits>
#include <string>

using namespace toolcase::text;

TEST(Casing, ChangesOnlyAsciiLetters) {
  EXPECT_EQ(to_lower_ascii("Show ME @[`{"), "show me @[`{");
  EXPECT_EQ(to_upper_ascii("notepad.exe @[`{"), "NOTEPAD.EXE @[`{");
  // Bytes of 0x80 and above are never folded, whatever the code page.
  EXPECT_EQ(to_lower_ascii("\xC4\xD6"), "\xC4\xD6");
  EXPECT_EQ(to_upper_ascii("\xE4\xF6"), "\xE4\xF6");
  EXPECT_EQ(to_lower_ascii(std::string("A\0B", 3)), std::string("a\0b", 3));
}

TEST(KeywordMatch, IsWholeExactAndCaseInsensitiveForAscii) {
  EXPECT_TRUE(keyword_match("show", "show"));
  EXPECT_TRUE(keyword_match("SHOW", "show"));
  EXPECT_TRUE(keyword_match("sHoW", "show"));
  EXPECT_FALSE(keyword_match(" show", "show"));
  EXPECT_FALSE(keyword_match("show ", "show"));
  EXPECT_FALSE(keyword_match("shows", "show"));
  EXPECT_FALSE(keyword_match("sho", "show"));
  EXPECT_FALSE(keyword_match("", "show"));
  EXPECT_TRUE(keyword_match("", ""));
  // 0xC4 is not a letter to the ASCII rule, so it never stands for one.
  EXPECT_FALSE(keyword_match("\xC4", "d"));
  EXPECT_FALSE(keyword_match("\xC4", "\xE4"));
}

TEST(FindPosition, IsOneBasedAndZeroForNothing) {
  EXPECT_EQ(find_position("win;caption", ";"), 4);
  EXPECT_EQ(find_position(";", ";"), 1);
  EXPECT_EQ(find_position("a;b;c", ";"), 2);
  EXPECT_EQ(find_position("abc", ";"), 0);
  EXPECT_EQ(find_position("", ";"), 0);
  EXPECT_EQ(find_position("abc", ""), 0);
  EXPECT_EQ(find_position("abcabc", "ca"), 3);
}

TEST(CopyRange, FollowsTheBoundaryRules) {
  EXPECT_EQ(copy_range("abcdef", 2, 3), "bcd");
  EXPECT_EQ(copy_range("abcdef", 0, 2), "ab");        // index below 1 counts as 1
  EXPECT_EQ(copy_range("abcdef", -5, 2), "ab");
  EXPECT_EQ(copy_range("abcdef", 7, 1), "");          // past the end
  EXPECT_EQ(copy_range("abcdef", 6, 1), "f");
  EXPECT_EQ(copy_range("abcdef", 1, -1), "");         // negative count counts as 0
  EXPECT_EQ(copy_range("abcdef", 1, 0), "");
  EXPECT_EQ(copy_range("abcdef", 4, 100), "def");     // stops at the end
  EXPECT_EQ(copy_range("abcdef", 2, INT_MAX), "bcdef");
  EXPECT_EQ(copy_range("abcdef", INT_MAX, INT_MAX), "");
  EXPECT_EQ(copy_range("", 1, 1), "");
}

TEST(DeleteRange, FollowsTheBoundaryRules) {
  auto deleted = [](std::string_view input, int index, int count) {
    toolcase::Text text(input);
    delete_range(text, index, count);
    return std::string(text.view());
  };
  EXPECT_EQ(deleted("abcdef", 2, 3), "aef");
  EXPECT_EQ(deleted("abcdef", 1, 1), "bcdef");
  EXPECT_EQ(deleted("abcdef", 0, 2), "abcdef");       // index below 1: nothing
  EXPECT_EQ(deleted("abcdef", 7, 1), "abcdef");       // past the end: nothing
  EXPECT_EQ(deleted("abcdef", 3, 0), "abcdef");
  EXPECT_EQ(deleted("abcdef", 3, -2), "abcdef");
  EXPECT_EQ(deleted("abcdef", 5, 100), "abcd");       // to the end
  EXPECT_EQ(deleted("abcdef", 2, INT_MAX), "a");
  EXPECT_EQ(deleted("", 1, 1), "");
}

TEST(IntegerToText, IsSignedDecimalWithoutGrouping) {
  EXPECT_EQ(integer_to_text(0), "0");
  EXPECT_EQ(integer_to_text(1024), "1024");
  EXPECT_EQ(integer_to_text(-768), "-768");
  EXPECT_EQ(integer_to_text(INT_MIN), "-2147483648");
  EXPECT_EQ(integer_to_text(INT_MAX), "2147483647");
}

TEST(PrefixedId, IsOneTo4294967295AfterThePrefixInAnyCase) {
  EXPECT_EQ(id_to_text(4294967295u), "4294967295");
  const struct {
    const char* input;
    bool has_prefix;
    std::uint32_t id;
  } rows[] = {
      {"hwnd:1", true, 1},          {"HWND:4294967295", true, 4294967295u},
      {"Hwnd:2147483648", true, 2147483648u},
      {"hwnd:4294967296", true, 0}, {"hwnd:0", true, 0},  {"hwnd:01", true, 0},
      {"hwnd:+1", true, 0},         {"hwnd: 1", true, 0}, {"hwnd:1 ", true, 0},
      {"hwnd:", true, 0},           {"hwnd:99999999999", true, 0},
      {"hwnd", false, 0},           {" hwnd:1", false, 0}, {"pid:1", false, 0},
  };
  for (const auto& row : rows) {
    const PrefixedId parsed = parse_prefixed_id(row.input, "hwnd:");
    EXPECT_EQ(parsed.has_prefix, row.has_prefix) << row.input;
    EXPECT_EQ(parsed.id, row.id) << row.input;
  }
}
