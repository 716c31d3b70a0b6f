// Window watches: visible top-level windows whose whole title matches.
#include <algorithm>
#include <cstdint>

#include "watch/watch_kinds.h"
#include "window/dwm.h"
#include "window/title_pattern.h"

namespace toolcase::watch {

namespace {

// A visible top-level window, not kept off the screen by the shell and not
// the stand-in for one that stopped responding, whose whole title matches.
BOOL CALLBACK examine_window(HWND window, LPARAM events_address) {
  if (!IsWindowVisible(window)) return TRUE;
  window::StoredTitle stored;
  const std::wstring_view title = window::stored_title(window, stored);
  if (title.empty()) return TRUE;
  window::StoredTitle folded;
  std::copy(title.begin(), title.end(), folded.begin());
  CharUpperBuffW(folded.data(), static_cast<DWORD>(title.size()));
  const std::wstring_view folded_title(folded.data(), title.size());
  // Asked once, of the first match only.
  bool examined = false;
  for (Watch& watch : watches) {
    if (watch.kind != Kind::window || !window::title_matches(folded_title, watch.folded_pattern)) {
      continue;
    }
    if (!examined) {
      if (window::is_ghost(window) || window::is_cloaked(window)) return TRUE;
      examined = true;
    }
    // NOLINTNEXTLINE(performance-no-int-to-ptr): the queue's address, as EnumWindows passes it
    saw_match(*reinterpret_cast<EventQueue*>(events_address), watch,
              reinterpret_cast<std::uintptr_t>(window), "open", title);
  }
  return TRUE;
}

// Windows hides a program that stopped responding behind its stand-in: the
// window keeps its state meanwhile.
bool kept_while_hung(std::uintptr_t id) {
  // NOLINTNEXTLINE(performance-no-int-to-ptr): a window handle kept as a number
  const auto window = reinterpret_cast<HWND>(id);
  return IsWindow(window) && IsHungAppWindow(window);
}

}  // namespace

void read_windows(EventQueue& events) noexcept {
  begin_reading(Kind::window);
  // The examination never stops the enumeration: FALSE is a failure, which
  // is not "every window closed"; the next reading decides.
  if (!EnumWindows(examine_window, reinterpret_cast<LPARAM>(&events))) return;
  for_each_watch(Kind::window, [&events](Watch& watch) {
    sweep_unseen(events, watch, "close", true, kept_while_hung);
  });
}

}  // namespace toolcase::watch
