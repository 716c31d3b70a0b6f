#include "window/caption_change.h"

#include "host/text.h"

namespace toolcase::window {

CaptionChange split_caption_change(std::string_view input) noexcept {
  const int length = static_cast<int>(input.size());
  const int separator = text::find_position(input, ";");
  // With no ";" the count is -1, which copies nothing: an empty window part.
  const std::string_view window_part = text::copy_range(input, 1, separator - 1);
  const bool blank_follows =
      separator > 0 && separator < length && input[static_cast<std::size_t>(separator)] == ' ';
  const std::string_view new_caption =
      text::copy_range(input, separator + (blank_follows ? 2 : 1), length);
  return {window_part, new_caption};
}

}  // namespace toolcase::window
