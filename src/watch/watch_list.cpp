#include "watch/watch_list.h"

#include <algorithm>
#include <array>
#include <cstdint>

#include "host/text.h"
#include "host/wide_text.h"
#include "process/load_time_locale.h"
#include "process/process_names.h"
#include "watch/watch_kinds.h"
#include "window/title_pattern.h"

namespace toolcase::watch {

// Constant-initialized: zeroed memory that a load does not touch.
constinit std::array<Watch, kMostWatches> watches;

namespace {

std::uint32_t starts = 0;

// One row per kind of watch that reads a source at each tick.
struct Reader {
  Kind kind;
  void (*read)(EventQueue& events) noexcept;
};
constexpr std::array<Reader, 6> kReaders{{
    {Kind::idle, read_idle_time},
    {Kind::window, read_windows},
    {Kind::process, read_processes},
    {Kind::media, read_media},
    {Kind::front, read_front},
    {Kind::presence, read_presence},
}};

bool any_of_kind(Kind kind) {
  return std::any_of(watches.begin(), watches.end(), [kind](const Watch& w) { return w.kind == kind; });
}

Followed* find_followed(Watch& watch, std::uintptr_t id) {
  const auto end = watch.followed.begin() + static_cast<std::ptrdiff_t>(watch.followed_count);
  const auto found = std::find_if(watch.followed.begin(), end, [id](const Followed& f) { return f.id == id; });
  return found != end ? &*found : nullptr;
}

// "name what id" and, for a window, its title.
void queue_event(EventQueue& events, const Watch& watch, std::string_view what,
                 std::uintptr_t id, const wchar_t* title = nullptr) {
  Text line = event_line(watch, what);
  append_id(line, id);
  if (title != nullptr) {
    line.push_back(' ');
    line.append(text_from_wide(std::span<const wchar_t>(title, window::kTitleArraySize)));
  }
  queue_line(events, line);
}

}  // namespace

Text event_line(const Watch& watch, std::string_view what) noexcept {
  Text line(watch.name);
  line.push_back(' ');
  line.append(what);
  return line;
}

void queue_line(EventQueue& events, Text line) noexcept {
  blank_control_codes(line);
  events.push(line);
}

void append_id(Text& line, std::uintptr_t id) noexcept {
  line.push_back(' ');
  // A handle's low 32 bits, unsigned: mIRC's numbers are those of a 32-bit program.
  line.append(text::id_to_text(static_cast<std::uint32_t>(id)));
}

void begin_reading(Kind kind) noexcept {
  for_each_watch(kind, [](Watch& watch) {
    for (std::size_t i = 0; i < watch.followed_count; ++i) watch.followed[i].seen = false;
  });
}

void saw_match(EventQueue& events, Watch& watch, std::uintptr_t id, std::string_view opened,
               std::wstring_view title) noexcept {
  Followed* followed = find_followed(watch, id);
  if (followed == nullptr) {
    if (watch.followed_count == kMostFollowed) return;
    followed = &watch.followed[watch.followed_count++];
    *followed = Followed{id, {}, false};
    window::keep_title(followed->title, title);
    queue_event(events, watch, opened, id, title.empty() ? nullptr : followed->title.data());
  } else if (!title.empty()) {
    window::keep_title(followed->title, title);
  }
  followed->seen = true;
}

void sweep_unseen(EventQueue& events, Watch& watch, std::string_view gone, bool with_title,
                  bool (*keep)(std::uintptr_t id)) noexcept {
  for (std::size_t i = 0; i < watch.followed_count;) {
    Followed& followed = watch.followed[i];
    if (followed.seen || keep(followed.id)) {
      ++i;
      continue;
    }
    queue_event(events, watch, gone, followed.id, with_title ? followed.title.data() : nullptr);
    followed = watch.followed[--watch.followed_count];
  }
}

bool any_watch_running() noexcept {
  return std::any_of(watches.begin(), watches.end(), [](const Watch& w) { return w.kind != Kind::invalid; });
}

Text running_watch_names() noexcept {
  std::array<const Watch*, kMostWatches> running{};
  std::size_t count = 0;
  for (const Watch& watch : watches) {
    if (watch.kind != Kind::invalid) running[count++] = &watch;
  }
  std::sort(running.begin(), running.begin() + static_cast<std::ptrdiff_t>(count),
            [](const Watch* a, const Watch* b) { return a->started < b->started; });
  Text names;
  for (std::size_t i = 0; i < count; ++i) {
    if (i > 0) names.push_back(' ');
    names.append(running[i]->name);
  }
  return names;
}

bool start_watch(const WatchRequest& request, TextEncoding encoding) noexcept {
  window::FoldedPattern pattern;
  std::size_t pattern_length = 0;
  if (request.kind == Kind::window) {
    pattern_length = window::fold_pattern(request.argument, encoding, pattern).size();
    if (pattern_length == 0) return false;
  }
  auto place = std::find_if(watches.begin(), watches.end(), [&request](const Watch& w) {
    return w.kind != Kind::invalid && same_name(w.name, request.name);
  });
  if (place == watches.end()) {
    place = std::find_if(watches.begin(), watches.end(), [](const Watch& w) { return w.kind == Kind::invalid; });
  }
  if (place == watches.end()) return false;
  Watch& watch = *place;
  watch.kind = request.kind;
  watch.name.assign(request.name);
  watch.started = ++starts;
  watch.idle = IdleWatch(request.seconds);
  watch.pattern = pattern;
  watch.folded_pattern = std::wstring_view(watch.pattern.data(), pattern_length);
  watch.process_name = process::upper_name(request.argument, process::name_encoding(encoding));
  watch.encoding = encoding;
  watch.followed_count = 0;
  watch.media = MediaWatch();
  watch.media_reading = 0;
  watch.front = 0;
  watch.presence = {};
  return true;
}

bool stop_watch(std::string_view name) noexcept {
  for (Watch& watch : watches) {
    if (watch.kind != Kind::invalid && same_name(watch.name, name)) {
      watch.kind = Kind::invalid;
      return true;
    }
  }
  return false;
}

void stop_every_watch() noexcept {
  for (Watch& watch : watches) watch.kind = Kind::invalid;
}

void read_sources(EventQueue& events) noexcept {
  for (const Reader& reader : kReaders) {
    if (any_of_kind(reader.kind)) reader.read(events);
  }
}

}  // namespace toolcase::watch
