// The text rules with any text, pattern, position and count.
#include <algorithm>
#include <cstdint>

#include "fuzz_input.h"
#include "host/frame.h"
#include "host/text.h"

using namespace toolcase;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  fuzz::Input input(data, size);
  const std::int32_t index = input.next_int();
  const std::int32_t count = input.next_int();
  const std::string pattern = input.next_text();
  // The host hands over at most 899 bytes.
  const std::string text = input.rest().substr(0, kDataBufferSize - 1);

  const int position = text::find_position(text, pattern);
  FUZZ_CHECK(position >= 0 && static_cast<std::size_t>(position) <= text.size());
  if (position > 0) FUZZ_CHECK(text.compare(position - 1, pattern.size(), pattern) == 0);

  const std::string_view copy = text::copy_range(text, index, count);
  FUZZ_CHECK(copy.size() <= text.size());
  Text rest(text);
  text::delete_range(rest, index, count);
  FUZZ_CHECK(rest.size() <= text.size());
  // Whatever a deletion removes, a copy with the same range gives, once the
  // index is inside the text.
  if (index >= 1) FUZZ_CHECK(rest.size() + copy.size() == text.size());

  const Text lower = text::to_lower_ascii(text);
  FUZZ_CHECK(text::keyword_match(text, lower));
  FUZZ_CHECK(text::to_lower_ascii(text::to_upper_ascii(lower)) == lower);

  char buffer[kDataBufferSize + 1];
  buffer[kDataBufferSize] = '\x7F';
  write_answer(buffer, text);
  FUZZ_CHECK(buffer[kDataBufferSize] == '\x7F');
  // What is read back is the answer as written: cut to 899 bytes, up to its first NUL.
  const std::string written = text.substr(0, kDataBufferSize - 1);
  FUZZ_CHECK(read_input(buffer) == written.substr(0, written.find('\0')));
  return 0;
}
