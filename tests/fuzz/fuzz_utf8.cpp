// The UTF-8 rules against glibc's iconv, an independent codec: the same
// verdict on every text, the same UTF-16 units, and the way back to the same
// bytes; cuts at any limit fall between characters.
#include <iconv.h>

#include <cstdint>
#include <string>

#include "fuzz_input.h"
#include "host/frame.h"
#include "host/utf8.h"

using namespace toolcase;

namespace {

// The UTF-16 units of text by iconv; false when iconv refuses it.
bool iconv_utf16(const std::string& text, std::u16string& units) {
  static iconv_t converter = iconv_open("UTF-16LE", "UTF-8");
  iconv(converter, nullptr, nullptr, nullptr, nullptr);
  std::string in = text;
  std::string out(in.size() * 2 + 4, '\0');
  char* from = in.data();
  char* to = out.data();
  std::size_t from_left = in.size();
  std::size_t to_left = out.size();
  if (iconv(converter, &from, &from_left, &to, &to_left) == static_cast<std::size_t>(-1)) {
    return false;
  }
  units.assign(reinterpret_cast<const char16_t*>(out.data()), (out.size() - to_left) / 2);
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  fuzz::Input input(data, size);
  const std::size_t room = static_cast<std::uint32_t>(input.next_int()) % 64 + 1;
  const std::string text = input.rest().substr(0, kDataBufferSize - 1);

  // The decision of the frame: a UTF-8 call only for a Unicode host and
  // well-formed text, whose input then is that text, less at most a
  // character the buffer's end cut.
  Text call_input(text);
  const bool unicode_host = room % 2 == 0;
  const TextEncoding encoding = choose_encoding(call_input, [&] { return unicode_host; });
  if (encoding == TextEncoding::utf8) {
    FUZZ_CHECK(unicode_host && utf8::is_well_formed(call_input));
    FUZZ_CHECK(text.compare(0, call_input.size(), call_input.view()) == 0 && text.size() - call_input.size() < 4);
    FUZZ_CHECK(call_input.size() == text.size() || text.size() == Text::kCapacity);
  } else {
    FUZZ_CHECK(call_input == text);
  }

  std::u16string expected;
  const bool well_formed = iconv_utf16(text, expected);
  FUZZ_CHECK(!well_formed || encoding == TextEncoding::utf8 || !unicode_host);
  FUZZ_CHECK(utf8::is_well_formed(text) == well_formed);
  if (!well_formed) return 0;

  std::u16string units(kDataBufferSize, u'\0');
  const std::size_t written = utf8::to_utf16(text, std::span<char16_t>(units.data(), units.size()));
  FUZZ_CHECK(units.compare(0, written, expected) == 0 && written == expected.size());
  Text back;
  utf8::append_utf16(back, std::u16string_view(units.data(), written));
  FUZZ_CHECK(back == text);

  // Within a smaller room: a prefix of whole characters.
  std::u16string small(room + 1, u'\0');
  const std::size_t fitted = utf8::to_utf16(text, std::span<char16_t>(small.data(), small.size()));
  FUZZ_CHECK(fitted <= room && expected.compare(0, fitted, small, 0, fitted) == 0);
  FUZZ_CHECK(fitted == 0 || !utf8::detail::is_high_surrogate(small[fitted - 1]));
  BoundedText<64> cut;
  utf8::append_utf16(cut, std::u16string_view(units.data(), written));
  FUZZ_CHECK(text.compare(0, cut.size(), cut.view()) == 0 && utf8::is_well_formed(cut));
  // Characters counted as iconv counts them: units less the second of each pair.
  std::size_t pairs = 0;
  for (char16_t unit : expected) pairs += unit >= 0xDC00 && unit <= 0xDFFF;
  FUZZ_CHECK(utf8::character_count(text) == expected.size() - pairs);
  return 0;
}
