// Front watches: the window in front, "name front HWND PID TITLE" each time
// another one comes in front.
#include <cstdint>

#include "host/wide_text.h"
#include "watch/watch_kinds.h"
#include "window/window_process.h"
#include "window/window_titles.h"

namespace toolcase::watch {

void read_front(EventQueue& events) noexcept {
  const HWND front = GetForegroundWindow();
  const auto front_id = reinterpret_cast<std::uintptr_t>(front);
  // The line after the name and the keyword, made once for every watch that reports it.
  Text reported;
  bool made = false;
  for_each_watch(Kind::front, [&](Watch& watch) {
    // With no window in front, the next one in front is news, even the one before.
    if (watch.front == front_id) return;
    watch.front = front_id;
    if (front == nullptr) return;
    if (!made) {
      made = true;
      append_id(reported, front_id);
      append_id(reported, window::window_process_id(front));
      window::StoredTitle stored;
      const std::wstring_view title = window::stored_title(front, stored);
      if (!title.empty()) {
        window::Title kept;
        window::keep_title(kept, title);
        reported.push_back(' ');
        reported.append(text_from_wide(kept));
      }
    }
    Text line = event_line(watch, "front");
    line.append(reported);
    queue_line(events, line);
  });
}

}  // namespace toolcase::watch
