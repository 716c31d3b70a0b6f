#include "watch/watch_list.h"

#include <algorithm>
#include <array>
#include <cstdint>

#include "host/text.h"
#include "host/wide_text.h"
#include "media/media_reader.h"
#include "process/load_time_locale.h"
#include "process/toolhelp.h"
#include "window/dwm.h"
#include "window/title_pattern.h"
#include "window/window_titles.h"

namespace toolcase::watch {

namespace {

using Kind = WatchRequest::Kind;

// A window or process a watch reports as open or started until it goes.
struct Followed {
  std::uintptr_t id;   // the window's handle or the process id
  window::Title title;  // a window's last title that matched
  bool seen;           // in this reading
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
};

// Constant-initialized: zeroed memory that a load does not touch.
constinit std::array<Watch, kMostWatches> watches;
std::uint32_t starts = 0;

bool any_of_kind(Kind kind) {
  return std::any_of(watches.begin(), watches.end(), [kind](const Watch& w) { return w.kind == kind; });
}

// "name what id" and, for a window, its title; control codes blanked.
void queue_event(EventQueue& events, const Watch& watch, std::string_view what,
                 std::uintptr_t id, const wchar_t* title = nullptr) {
  Text line(watch.name);
  line.push_back(' ');
  line.append(what);
  line.push_back(' ');
  // A handle's low 32 bits, unsigned: mIRC's numbers are those of a 32-bit program.
  const auto low = static_cast<std::uint32_t>(id);
  BoundedText<10> digits;
  for (std::uint32_t rest = low; digits.empty() || rest != 0; rest /= 10) {
    digits.push_back(static_cast<char>('0' + rest % 10));
  }
  for (std::size_t i = digits.size(); i > 0; --i) line.push_back(digits.view()[i - 1]);
  if (title != nullptr) {
    line.push_back(' ');
    line.append(text_from_wide(std::span<const wchar_t>(title, window::kTitleArraySize)));
  }
  blank_control_codes(line);
  events.push(line);
}

Followed* find_followed(Watch& watch, std::uintptr_t id) {
  const auto end = watch.followed.begin() + static_cast<std::ptrdiff_t>(watch.followed_count);
  const auto found = std::find_if(watch.followed.begin(), end, [id](const Followed& f) { return f.id == id; });
  return found != end ? &*found : nullptr;
}

// Marks a match of this reading; a new one is reported, while the watch
// follows fewer than 64.
void saw_match(EventQueue& events, Watch& watch, std::uintptr_t id, std::string_view opened,
               std::wstring_view title = {}) {
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

// Reports and forgets what this reading did not see, but what keep(id) keeps.
template <typename Keep>
void sweep_unseen(EventQueue& events, Watch& watch, std::string_view gone, bool with_title,
                  Keep&& keep) {
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

void begin_reading(Kind kind) {
  for (Watch& watch : watches) {
    if (watch.kind != kind) continue;
    for (std::size_t i = 0; i < watch.followed_count; ++i) watch.followed[i].seen = false;
  }
}

void read_idle_time(EventQueue& events) {
  LASTINPUTINFO last_input{};
  last_input.cbSize = sizeof last_input;
  if (!GetLastInputInfo(&last_input)) return;
  const DWORD now = GetTickCount();
  for (Watch& watch : watches) {
    if (watch.kind != Kind::idle) continue;
    if (const auto event = watch.idle.read(now, last_input.dwTime)) {
      Text line(watch.name);
      line.append(event->back ? " back " : " idle ");
      line.append(text::integer_to_text(static_cast<std::int32_t>(event->seconds)));
      events.push(line);
    }
  }
}

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

void read_windows(EventQueue& events) {
  begin_reading(Kind::window);
  EnumWindows(examine_window, reinterpret_cast<LPARAM>(&events));
  for (Watch& watch : watches) {
    if (watch.kind != Kind::window) continue;
    // Windows hides a program that stopped responding behind its stand-in:
    // the window keeps its state meanwhile.
    sweep_unseen(events, watch, "close", true, [](std::uintptr_t id) {
      // NOLINTNEXTLINE(performance-no-int-to-ptr): a window handle kept as a number
      const auto window = reinterpret_cast<HWND>(id);
      return IsWindow(window) && IsHungAppWindow(window);
    });
  }
}

void read_processes(EventQueue& events) {
  begin_reading(Kind::process);
  const bool any_utf8 = std::any_of(watches.begin(), watches.end(), [](const Watch& w) {
    return w.kind == Kind::process && w.encoding == TextEncoding::utf8;
  });
  const bool any_ansi = std::any_of(watches.begin(), watches.end(), [](const Watch& w) {
    return w.kind == Kind::process && w.encoding == TextEncoding::ansi;
  });
  process::walk_process_list<PROCESSENTRY32W>([&](const PROCESSENTRY32W& entry) {
    // Each name in each encoding a watch needs, converted once.
    const Text utf8_name = any_utf8 ? text_from_wide(entry.szExeFile) : Text();
    const Text ansi_name =
        any_ansi ? text_in_encoding(entry.szExeFile, TextEncoding::ansi) : Text();
    for (Watch& watch : watches) {
      if (watch.kind != Kind::process) continue;
      const bool utf8 = watch.encoding == TextEncoding::utf8;
      if (process::name_matches(utf8 ? utf8_name : ansi_name, watch.process_name,
                                process::name_encoding(watch.encoding))) {
        saw_match(events, watch, entry.th32ProcessID, "start");
      }
    }
  });
  for (Watch& watch : watches) {
    if (watch.kind == Kind::process) sweep_unseen(events, watch, "end", false, [](std::uintptr_t) { return false; });
  }
}

// The reader's latest reading, copied: the tick never waits on a player.
void read_media(EventQueue& events) {
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
      Text event(watch.name);
      event.append(" status ");
      event.append(media::status_word(state));
      events.push(event);
    }
    if (report.track) {
      Text event(watch.name);
      event.append(" track ");
      event.append(utf8_line);
      // Cut as an answer is, never inside a character.
      events.push(utf8::without_cut_character(event));
    }
  }
}

}  // namespace

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
  if (any_of_kind(Kind::idle)) read_idle_time(events);
  if (any_of_kind(Kind::window)) read_windows(events);
  if (any_of_kind(Kind::process)) read_processes(events);
  if (any_of_kind(Kind::media)) read_media(events);
}

}  // namespace toolcase::watch
