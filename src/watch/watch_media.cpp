// Media watches: what plays, from the media reader's latest reading.
#include <algorithm>
#include <cstdint>

#include "host/wide_text.h"
#include "media/media_reader.h"
#include "watch/watch_kinds.h"

namespace toolcase::watch {

// The reader's latest reading, copied: the tick never waits on a player.
void read_media(EventQueue& events) noexcept {
  std::uint32_t number = 0;
  media::PlayState state = media::PlayState::none;
  media::WideAnswer answer;
  std::wstring_view line;
  if (!media::latest_reading(number, state, answer, line)) return;
  const bool taken = std::all_of(watches.begin(), watches.end(), [number](const Watch& w) {
    return w.kind != Kind::media || w.media_reading == number;
  });
  if (taken) return;
  const bool has_line = state == media::PlayState::playing || state == media::PlayState::paused;
  const Text utf8_line = has_line ? text_in_encoding(line, TextEncoding::utf8) : Text();
  for (Watch& watch : watches) {
    if (watch.kind != Kind::media || watch.media_reading == number) continue;
    watch.media_reading = number;
    const MediaWatch::Report report = watch.media.read(media::status_word(state), utf8_line);
    if (report.status) {
      Text event = event_line(watch, "status");
      event.push_back(' ');
      event.append(media::status_word(state));
      events.push(event);
    }
    if (report.track) {
      Text event = event_line(watch, "track");
      event.push_back(' ');
      event.append(utf8_line);
      // Cut as an answer is, never inside a character.
      events.push(utf8::without_cut_character(event));
    }
  }
}

}  // namespace toolcase::watch
