// Caption changes with any bytes: the window part, the first ";", the blank
// dropped after it and the new caption always put the input back together.
#include <cstdint>
#include <string>

#include "fuzz_input.h"
#include "window/caption_change.h"

using namespace toolcase;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string input = fuzz::Input(data, size).rest();
  const window::CaptionChange change = window::split_caption_change(input);

  FUZZ_CHECK(change.window_part.find(';') == std::string::npos);
  const std::size_t separator = input.find(';');
  if (separator == std::string::npos) {
    FUZZ_CHECK(change.window_part.empty() && change.new_caption == input);
    return 0;
  }

  FUZZ_CHECK(change.window_part == input.substr(0, separator));
  // Exactly one blank goes, and only when it follows the separator directly.
  const bool blank_follows = separator + 1 < input.size() && input[separator + 1] == ' ';
  const std::string dropped = blank_follows ? "; " : ";";
  FUZZ_CHECK(std::string(change.window_part) + dropped + std::string(change.new_caption) == input);
  return 0;
}
