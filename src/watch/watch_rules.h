// What Watch is asked, the lines it queues for WatchNext, and how an idle
// time is told. Pure rules, no platform calls.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>

#include "host/bounded_text.h"

namespace toolcase::watch {

inline constexpr std::size_t kLongestName = 32;

// 1 to 32 ASCII letters, digits, '-' or '_'.
bool is_watch_name(std::string_view name) noexcept;
// Names compared without letter case.
bool same_name(std::string_view a, std::string_view b) noexcept;

struct WatchRequest {
  enum class Kind { invalid, list, idle, window, process, media, front, presence };
  Kind kind;
  std::string_view name;
  std::uint32_t seconds;      // idle: 1 to 86400
  std::string_view argument;  // window: the pattern; process: the executable name
};

// "" (the running watches), or "name;idle SECONDS", "name;window PATTERN",
// "name;process NAME", "name;media", "name;front", "name;presence": the keyword matched as
// every command matches one, one blank before a non-empty argument.
WatchRequest parse_watch_request(std::string_view input) noexcept;

// Every byte below 0x20 and 0x7F become a blank: an event names windows that
// anyone can title, and a line break or a control code would break or colour
// the script's line. In UTF-8 no other character holds such a byte.
template <std::size_t Capacity>
void blank_control_codes(BoundedText<Capacity>& text) noexcept {
  BoundedText<Capacity> blanked;
  for (const char byte : text.view()) {
    blanked.push_back(static_cast<unsigned char>(byte) < 0x20 || byte == 0x7F ? ' ' : byte);
  }
  text = blanked;
}

// Event lines, oldest first, at most 256 in all. When it is full, the lines
// that do not fit are counted in a line "* lost N" where they would have
// been, which takes the last place.
class EventQueue {
 public:
  static constexpr std::size_t kMostLines = 256;
  using Line = BoundedText<kDataBufferSize - 1>;

  void push(std::string_view line) noexcept;
  // The oldest line, taken off the queue; none when it is empty.
  std::optional<Line> pop() noexcept;
  bool empty() const noexcept { return count_ == 0; }
  void clear() noexcept { count_ = 0; }

 private:
  // Plain bytes, cleared: a module-level queue lies in zeroed memory that no
  // load has to touch.
  struct Stored {
    std::array<char, Line::kCapacity> bytes;
    std::size_t size;
  };
  Stored& at(std::size_t index) noexcept { return lines_[(first_ + index) % kMostLines]; }
  static void store(Stored& stored, std::string_view line) noexcept;

  std::array<Stored, kMostLines> lines_{};
  std::size_t first_ = 0;
  std::size_t count_ = 0;
  std::uint32_t lost_ = 0;  // counted in the last line, while it is a lost line
};

// An idle watch between two readings of the last input's tick. Ticks are
// 32-bit milliseconds that wrap after 49.7 days; differences stay right
// across the wrap.
class IdleWatch {
 public:
  constexpr IdleWatch() noexcept = default;
  constexpr explicit IdleWatch(std::uint32_t seconds) noexcept : threshold_ms_(seconds * 1000) {}

  struct Event {
    bool back;              // false: idle now
    std::uint32_t seconds;  // idle so far, or how long the idle time lasted (never below 0)
  };
  // What the reading at `now` of input last seen at `last_input` tells: the
  // user went idle (idle that long) or came back (the input changed).
  std::optional<Event> read(std::uint32_t now, std::uint32_t last_input) noexcept;

 private:
  std::uint32_t threshold_ms_ = 0;
  bool idle_ = false;
  std::uint32_t idle_since_ = 0;  // the last input before the idle time
};

// A media watch between readings of what plays. The first reading reports
// the status and, where there is a line ("artist - title"), the track; later
// ones the status when it changes, and a new line once it was read the same
// twice in a row (a browser fills in the artist late).
class MediaWatch {
 public:
  struct Report {
    bool status;
    bool track;
  };
  Report read(std::string_view status, std::string_view line) noexcept;

 private:
  bool started_ = false;
  BoundedText<8> status_{BoundedText<8>::Cleared{}};
  EventQueue::Line reported_{EventQueue::Line::Cleared{}};
  EventQueue::Line last_read_{EventQueue::Line::Cleared{}};
};

}  // namespace toolcase::watch
