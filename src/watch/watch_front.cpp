// Front watches: the window in front, "name front HWND PID TITLE" each time
// another one comes in front. The lock screen is no window in front, and a
// hung window's stand-in is the window it covers, which was in front before
// it came and still is after it goes. PID is 0 for a stand-in whose window
// was not found.
#include <cstdint>

#include "host/wide_text.h"
#include "watch/watch_kinds.h"
#include "window/window_process.h"
#include "window/window_titles.h"

namespace toolcase::watch {

void read_front(EventQueue& events) noexcept {
  const window::FrontWindow in_front = window::window_in_front();
  const HWND front = in_front.window;
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
      append_id(reported, in_front.program_known ? window::window_process_id(front) : 0);
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
