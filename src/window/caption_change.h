// How ChangeWindowText cuts its input into the window to look up and the
// caption to give it. Pure text rules, no platform calls.
#pragma once

#include <string_view>

namespace toolcase::window {

// Both parts view the input they were cut from.
struct CaptionChange {
  std::string_view window_part;  // every byte before the first ";"
  std::string_view new_caption;  // every byte after it, less one blank directly after it
};

// "win;caption", "win; caption" and "win;  caption" name the window "win";
// the last keeps one leading blank in its caption. Only the first ";" cuts.
// Without any ";" the window part is empty and the whole text is the caption.
CaptionChange split_caption_change(std::string_view input) noexcept;

}  // namespace toolcase::window
