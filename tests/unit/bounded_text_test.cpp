#include "host/bounded_text.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

using toolcase::BoundedText;

TEST(BoundedText, KeepsWhatFitsAndDropsTheRestWithItsNulInside) {
  BoundedText<4> text("ab");
  text.append("cdef");
  EXPECT_EQ(text, "abcd");
  text.push_back('x');
  text.append(3, 'y');
  EXPECT_EQ(text.size(), 4u);
  EXPECT_EQ(std::strlen(text.c_str()), 4u);
  // A NUL inside the text is a byte like any other; c_str() still ends after the last.
  BoundedText<8> with_nul(std::string_view("a\0b", 3));
  EXPECT_EQ(with_nul.view(), std::string_view("a\0b", 3));
  EXPECT_EQ(with_nul.c_str()[3], '\0');
}

TEST(BoundedText, EraseAndAssignKeepTheTextTerminated) {
  BoundedText<16> text("abcdef");
  text.erase(1, 2);
  EXPECT_EQ(text, "adef");
  EXPECT_STREQ(text.c_str(), "adef");
  text.erase(2, 100);  // stops at the end
  EXPECT_STREQ(text.c_str(), "ad");
  text.erase(5, 1);  // past the end: nothing
  EXPECT_EQ(text, "ad");
  text.assign("");
  EXPECT_TRUE(text.empty());
  EXPECT_STREQ(text.c_str(), "");
}

TEST(BoundedText, CopiesAreIndependentAndWhole) {
  toolcase::Text original(std::string(1000, 'q'));
  EXPECT_EQ(original.size(), toolcase::kDataBufferSize - 1);
  toolcase::Text copy = original;
  original.assign("changed");
  EXPECT_EQ(copy.view(), std::string(899, 'q'));
  copy = original;
  EXPECT_STREQ(copy.c_str(), "changed");
}
