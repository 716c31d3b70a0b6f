// What Media is asked, which source answers, and how the texts a player
// gives are made fit for a mIRC line. Pure rules, no platform calls; the
// wide-text rules take wchar_t on Windows, char16_t where that is 32 bits.
#pragma once

#include <algorithm>
#include <cstddef>
#include <optional>
#include <span>
#include <string_view>

namespace toolcase::media {

enum class MediaRequest {
  invalid,
  line,  // "": "artist - title", or the title alone
  title,
  artist,
  album,
  player,
  status,
  // The media keys.
  toggle,
  next,
  previous,
  stop,
};

// Keywords matched as every command matches them.
MediaRequest parse_media_request(std::string_view input) noexcept;
bool is_media_key(MediaRequest request) noexcept;

// What a source does: none where there is no source.
enum class PlayState { none, stopped, playing, paused };

// A session's playback status (Windows.Media.Control): 0 closed (no
// source), 1 opened and 3 stopped (stopped), 4 playing, 5 paused; 2 changing
// (between two tracks) keeps the state resolved for that session at the
// previous reading, paused for a session not read before.
PlayState session_state(int playback_status, std::optional<PlayState> before) noexcept;
// The classic player window's answer to its status message: 1 playing,
// 3 paused, anything else stopped.
PlayState classic_state(long long answer) noexcept;
// The first source that plays, else the first that is paused, else the first
// there is (stopped); sources.size() when there is none.
std::size_t chosen_source(std::span<const PlayState> sources) noexcept;
// Status's answer: "playing", "paused", "stopped", or "false" without a source.
std::string_view status_word(PlayState state) noexcept;

// A title of the classic player window, "12. Artist - Title - Winamp [Paused]",
// less its leading list number and its trailing " - Winamp", " [Paused]" and
// " [Stopped]", each where present.
template <typename Unit>
std::basic_string_view<Unit> classic_title(std::basic_string_view<Unit> title) noexcept {
  std::size_t digits = 0;
  while (digits < title.size() && title[digits] >= Unit('0') && title[digits] <= Unit('9')) ++digits;
  if (digits > 0 && digits + 1 < title.size() && title[digits] == Unit('.') &&
      title[digits + 1] == Unit(' ')) {
    title.remove_prefix(digits + 2);
  }
  constexpr std::string_view kEndings[] = {" [Paused]", " [Stopped]", " - Winamp"};
  for (bool cut = true; cut;) {
    cut = false;
    for (const std::string_view ending : kEndings) {
      if (title.size() < ending.size()) continue;
      const Unit* tail = title.data() + title.size() - ending.size();
      if (std::equal(ending.begin(), ending.end(), tail,
                     [](char a, Unit b) { return Unit(a) == b; })) {
        title.remove_suffix(ending.size());
        cut = true;
      }
    }
  }
  return title;
}

// Every unit below U+0020, U+007F, U+2028 and U+2029 becomes a blank: a line
// break or a control code in a player's text would break or colour the
// script's line.
template <typename Unit>
void blank_line_breaks(std::span<Unit> units) noexcept {
  for (Unit& unit : units) {
    const auto code = static_cast<char16_t>(unit);
    if (code < 0x20 || code == 0x7F || code == 0x2028 || code == 0x2029) unit = Unit(' ');
  }
}

}  // namespace toolcase::media
