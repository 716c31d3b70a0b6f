// Presence watches: "name presence WORD" at the start and at each change.
#include "presence/presence_reading.h"
#include "watch/watch_kinds.h"

namespace toolcase::watch {

void read_presence(EventQueue& events) noexcept {
  // The words are constants of the library: kept by view, compared by text.
  const std::string_view word = presence::read_presence();
  for_each_watch(Kind::presence, [&](Watch& watch) {
    if (watch.presence == word) return;
    watch.presence = word;
    Text line = event_line(watch, "presence");
    line.push_back(' ');
    line.append(word);
    events.push(line);
  });
}

}  // namespace toolcase::watch
