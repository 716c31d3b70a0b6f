// The running watches as each kind's reading sees them, and what the kinds
// share to tell what they follow. Each kind reads its source in a file of its
// own (watch_<kind>.cpp) and has a row in the list's table of readers.
#pragma once

#include <windows.h>

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "host/bounded_text.h"
#include "host/frame.h"
#include "watch/watch_list.h"
#include "watch/watch_rules.h"
#include "window/window_titles.h"

namespace toolcase::watch {

using Kind = WatchRequest::Kind;

// A window or process a watch reports as open or started until it goes.
struct Followed {
  std::uintptr_t id;    // the window's handle or the process id
  window::Title title;  // a window's last title that matched
  bool seen;            // in this reading
};

struct Watch {
  Kind kind = Kind::invalid;  // invalid: a free place
  BoundedText<kLongestName> name{BoundedText<kLongestName>::Cleared{}};
  std::uint32_t started = 0;  // the order of starting
  IdleWatch idle;
  window::FoldedPattern pattern{};
  std::wstring_view folded_pattern;
  Text process_name{Text::Cleared{}};  // upper-cased by the rule of its call's encoding
  TextEncoding encoding = TextEncoding::ansi;
  std::array<Followed, kMostFollowed> followed{};
  std::size_t followed_count = 0;
  MediaWatch media;
  std::uint32_t media_reading = 0;  // the number of the last reading it took
  std::uintptr_t front = 0;         // the window last reported in front; 0 for none
  std::string_view presence;        // the word last reported; empty before the first
};

extern std::array<Watch, kMostWatches> watches;

template <typename Visit>
void for_each_watch(Kind kind, Visit&& visit) {
  for (Watch& watch : watches) {
    if (watch.kind == kind) visit(watch);
  }
}

// "name what": the start of every event line.
Text event_line(const Watch& watch, std::string_view what) noexcept;
// Queues the line with its control codes blanked.
void queue_line(EventQueue& events, Text line) noexcept;
// " N": a handle's low 32 bits or a process id, as the events write them.
void append_id(Text& line, std::uintptr_t id) noexcept;

// Marks every followed thing of the kind unseen before a reading.
void begin_reading(Kind kind) noexcept;
// Marks a match of this reading; a new one is reported ("name opened id" and
// its title, if any), while the watch follows fewer than 64.
void saw_match(EventQueue& events, Watch& watch, std::uintptr_t id, std::string_view opened,
               std::wstring_view title = {}) noexcept;
// Reports ("name gone id" and, with_title, the last title) and forgets what
// this reading did not see, but what keep(id) keeps.
void sweep_unseen(EventQueue& events, Watch& watch, std::string_view gone, bool with_title,
                  bool (*keep)(std::uintptr_t id)) noexcept;

// Each kind's reading, once per tick while a watch of that kind runs.
void read_idle_time(EventQueue& events) noexcept;
void read_windows(EventQueue& events) noexcept;
void read_processes(EventQueue& events) noexcept;
void read_media(EventQueue& events) noexcept;
void read_front(EventQueue& events) noexcept;
void read_presence(EventQueue& events) noexcept;

}  // namespace toolcase::watch
