#include "window/caption_change.h"

#include <gtest/gtest.h>

using toolcase::window::split_caption_change;

namespace {

void expect_split(std::string_view input, std::string_view window_part,
                  std::string_view new_caption) {
  const auto change = split_caption_change(input);
  EXPECT_EQ(change.window_part, window_part) << '"' << input << '"';
  EXPECT_EQ(change.new_caption, new_caption) << '"' << input << '"';
}

}  // namespace

TEST(SplitCaptionChange, CutsAtTheFirstSemicolonAndDropsOneBlankAfterIt) {
  expect_split("Notepad;New title", "Notepad", "New title");
  expect_split("Notepad; New title", "Notepad", "New title");
  expect_split("Notepad;  New title", "Notepad", " New title");
  expect_split("Notepad;\tNew title", "Notepad", "\tNew title");
}

TEST(SplitCaptionChange, OnlyTheFirstSemicolonSeparates) {
  expect_split("a;b;c", "a", "b;c");
  expect_split("a;b; c", "a", "b; c");
  expect_split("a;;", "a", ";");
  expect_split("a; ; b", "a", "; b");
}

TEST(SplitCaptionChange, NeitherPartIsTrimmedNorCased) {
  expect_split(" My Window ; Caption ", " My Window ", "Caption ");
  expect_split("MiXeD;CaSe", "MiXeD", "CaSe");
  expect_split("\xC4\xE4;\xD6 \xF6", "\xC4\xE4", "\xD6 \xF6");
}

TEST(SplitCaptionChange, EmptyPartsAtEitherEnd) {
  expect_split(";caption", "", "caption");
  expect_split("; caption", "", "caption");
  expect_split("window;", "window", "");
  expect_split("window; ", "window", "");
  expect_split("window;  ", "window", " ");
  expect_split(";", "", "");
  expect_split("; ", "", "");
}

TEST(SplitCaptionChange, WithoutSemicolonTheWholeTextIsTheCaption) {
  expect_split("just a caption", "", "just a caption");
  // The blank rule belongs to the separator: with none, a leading blank stays.
  expect_split(" leading blank", "", " leading blank");
  expect_split("", "", "");
}

TEST(SplitCaptionChange, TakesTheLongestInputWhole) {
  const std::string window_part(400, 'w');
  const std::string caption(498, 'c');
  expect_split(window_part + "; " + caption, window_part, caption);
}
