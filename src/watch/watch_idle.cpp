// Idle watches: how long since the user's last input.
#include <cstdint>

#include "host/text.h"
#include "watch/watch_kinds.h"

namespace toolcase::watch {

void read_idle_time(EventQueue& events) noexcept {
  LASTINPUTINFO last_input{};
  last_input.cbSize = sizeof last_input;
  if (!GetLastInputInfo(&last_input)) return;
  const DWORD now = GetTickCount();
  for_each_watch(Kind::idle, [&](Watch& watch) {
    if (const auto event = watch.idle.read(now, last_input.dwTime)) {
      Text line = event_line(watch, event->back ? "back" : "idle");
      line.push_back(' ');
      line.append(text::integer_to_text(static_cast<std::int32_t>(event->seconds)));
      queue_line(events, line);
    }
  });
}

}  // namespace toolcase::watch
