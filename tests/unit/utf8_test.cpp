#include "host/utf8.h"

#include <gtest/gtest.h>

#include <array>
#include <string>

#include "host/frame.h"

using namespace toolcase;

namespace {

const std::string kEmoji = "\xF0\x9F\x98\x80";  // U+1F600, a surrogate pair in UTF-16

template <std::size_t Capacity = 64>
std::string utf8_of(std::u16string_view units) {
  BoundedText<Capacity> text;
  utf8::append_utf16(text, units);
  return std::string(text.view());
}

}  // namespace

TEST(Utf8, WellFormedIsRfc3629) {
  struct Case {
    std::string text;
    bool well_formed;
  };
  const Case cases[] = {
      {"", true},
      {"Notepad", true},
      {"Gr\xC3\xB6\xC3\x9F" "e", true},               // Größe
      {kEmoji, true},
      {"\xC3", false},                                 // cut short
      {"\x80", false},                                 // stray continuation
      {"\xC0\xAF", false},                             // overlong '/'
      {"\xE0\x80\xAF", false},
      {"\xF0\x80\x80\xAF", false},
      {"\xED\xA0\x80", false},                         // encoded surrogate D800
      {"\xF4\x90\x80\x80", false},                     // above U+10FFFF
      {"Gr\xF6\xDF" "e", false},                       // Größe in code page 1252
  };
  for (const Case& c : cases) EXPECT_EQ(utf8::is_well_formed(c.text), c.well_formed) << c.text;
}

TEST(Utf8, DropsOnlyACharacterCutAtTheEnd) {
  struct Case {
    std::string text;
    std::string kept;
  };
  const Case cases[] = {
      {"abc", "abc"},
      {"ab\xC3\xA4", "ab\xC3\xA4"},
      {"ab\xC3", "ab"},
      {"ab\xE2\x82", "ab"},
      {"a\xF0\x9F\x98", "a"},
      {"a" + kEmoji, "a" + kEmoji},
      {"\xF0", ""},
      {"\x80\x80\x80\x80", "\x80\x80\x80\x80"},  // no lead byte: nothing was cut
  };
  for (const Case& c : cases) EXPECT_EQ(utf8::without_cut_character(c.text), c.kept) << c.text;
}

TEST(Utf8, EncodesUtf16WholeCharactersOnly) {
  EXPECT_EQ(utf8_of(u"Gr\u00F6\u00DFe \U0001F600"), "Gr\xC3\xB6\xC3\x9F" "e " + kEmoji);
  // A character that would not fit is dropped whole, with all after it.
  EXPECT_EQ(utf8_of<4>(u"a\u00E4\u00E4"), "a\xC3\xA4");
  EXPECT_EQ(utf8_of<6>(u"ab\U0001F600"), "ab" + kEmoji);
  EXPECT_EQ(utf8_of<5>(u"ab\U0001F600"), "ab");
  // A high surrogate at the end is half of a pair a limit cut: dropped.
  EXPECT_EQ(utf8_of(std::u16string(u"ab") + char16_t{0xD83D}), "ab");
  // Any other unpaired surrogate is no character: U+FFFD.
  EXPECT_EQ(utf8_of(std::u16string{u'a', char16_t{0xDE00}, u'b'}), "a\xEF\xBF\xBD" "b");
  EXPECT_EQ(utf8_of(std::u16string{char16_t{0xD83D}, u'b'}), "\xEF\xBF\xBD" "b");
}

TEST(ChooseEncoding, Utf8OnlyForWellFormedTextFromAUnicodeHost) {
  struct Case {
    std::string input;
    bool unicode_host;
    TextEncoding encoding;
    bool host_asked;
  };
  const Case cases[] = {
      {"Notepad", true, TextEncoding::utf8, true},
      {"Notepad", false, TextEncoding::ansi, true},
      {"Gr\xC3\xB6\xC3\x9F" "e", true, TextEncoding::utf8, true},
      // Not UTF-8: the host is not even asked.
      {"Gr\xF6\xDF" "e", true, TextEncoding::ansi, false},
      {"\xC0\xAF", true, TextEncoding::ansi, false},
      {"cut\xC3", true, TextEncoding::ansi, false},  // short of the buffer's end: malformed
  };
  for (const Case& c : cases) {
    Text input(c.input);
    bool asked = false;
    const TextEncoding encoding = choose_encoding(input, [&] {
      asked = true;
      return c.unicode_host;
    });
    EXPECT_EQ(encoding, c.encoding) << c.input;
    EXPECT_EQ(asked, c.host_asked) << c.input;
    EXPECT_EQ(input, c.input) << "the input stays whole";
  }
}

TEST(WriteAnswer, AUtf8AnswerIsNeverCutInsideACharacter) {
  // 898 bytes, then "ä": the buffer holds 899 bytes of answer.
  const std::string answer = std::string(898, 'x') + "\xC3\xA4";
  std::array<char, kDataBufferSize> buffer;
  write_answer(buffer.data(), answer, TextEncoding::utf8);
  EXPECT_EQ(std::string(buffer.data()), std::string(898, 'x'));
  write_answer(buffer.data(), answer, TextEncoding::ansi);
  EXPECT_EQ(std::string(buffer.data()), answer.substr(0, 899));
}
