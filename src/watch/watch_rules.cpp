#include "watch/watch_rules.h"

#include <algorithm>
#include <array>

#include "host/text.h"

namespace toolcase::watch {

namespace {

constexpr std::uint32_t kLongestIdle = 86400;

char lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + ('a' - 'A')) : c; }

// Decimal digits without a sign or a leading zero, 1 to kLongestIdle.
std::uint32_t idle_seconds(std::string_view digits) {
  if (digits.empty() || digits.size() > 5 || digits.front() == '0') return 0;
  std::uint32_t seconds = 0;
  for (const char digit : digits) {
    if (digit < '0' || digit > '9') return 0;
    seconds = seconds * 10 + static_cast<std::uint32_t>(digit - '0');
  }
  return seconds <= kLongestIdle ? seconds : 0;
}

}  // namespace

bool is_watch_name(std::string_view name) noexcept {
  if (name.empty() || name.size() > kLongestName) return false;
  for (const char c : name) {
    const char folded = lower(c);
    if (!((folded >= 'a' && folded <= 'z') || (c >= '0' && c <= '9') || c == '-' || c == '_')) {
      return false;
    }
  }
  return true;
}

bool same_name(std::string_view a, std::string_view b) noexcept {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (lower(a[i]) != lower(b[i])) return false;
  }
  return true;
}

WatchRequest parse_watch_request(std::string_view input) noexcept {
  using Kind = WatchRequest::Kind;
  enum class Argument { none, seconds, text };
  struct KindRow {
    std::string_view keyword;
    Kind kind;
    Argument argument;
  };
  // One row per kind of watch.
  constexpr std::array<KindRow, 6> kKinds{{
      {"idle", Kind::idle, Argument::seconds},
      {"window", Kind::window, Argument::text},
      {"process", Kind::process, Argument::text},
      {"media", Kind::media, Argument::none},
      {"front", Kind::front, Argument::none},
      {"presence", Kind::presence, Argument::none},
  }};
  constexpr WatchRequest kInvalid{Kind::invalid, {}, 0, {}};
  if (input.empty()) return {Kind::list, {}, 0, {}};
  const std::size_t separator = input.find(';');
  if (separator == std::string_view::npos) return kInvalid;
  const auto size = static_cast<int>(input.size());
  const std::string_view name = text::copy_range(input, 1, static_cast<int>(separator));
  if (!is_watch_name(name)) return kInvalid;
  const std::string_view watched = text::copy_range(input, static_cast<int>(separator) + 2, size);
  const std::size_t blank = watched.find(' ');
  const std::string_view keyword =
      blank == std::string_view::npos ? watched : text::copy_range(watched, 1, static_cast<int>(blank));
  const std::string_view argument =
      blank == std::string_view::npos ? std::string_view() : text::copy_range(watched, static_cast<int>(blank) + 2, size);
  for (const KindRow& row : kKinds) {
    if (!text::keyword_match(keyword, row.keyword)) continue;
    const bool takes_argument = row.argument != Argument::none;
    // With an argument: one blank, then something; without: nothing at all.
    if (takes_argument != (blank != std::string_view::npos) || (takes_argument && argument.empty())) {
      return kInvalid;
    }
    if (row.argument != Argument::seconds) return {row.kind, name, 0, argument};
    const std::uint32_t seconds = idle_seconds(argument);
    return seconds == 0 ? kInvalid : WatchRequest{Kind::idle, name, seconds, {}};
  }
  return kInvalid;
}

void EventQueue::store(Stored& stored, std::string_view line) noexcept {
  stored.size = std::min(line.size(), stored.bytes.size());
  std::copy_n(line.begin(), stored.size, stored.bytes.begin());
}

void EventQueue::push(std::string_view line) noexcept {
  // The last place is kept for the line that counts what is lost.
  if (count_ < kMostLines - 1) {
    store(at(count_++), line);
    lost_ = 0;
    return;
  }
  if (lost_ == 0) ++count_;
  ++lost_;
  Line lost("* lost ");
  lost.append(text::integer_to_text(static_cast<std::int32_t>(lost_)));
  store(at(count_ - 1), lost);
}

std::optional<EventQueue::Line> EventQueue::pop() noexcept {
  if (count_ == 0) return std::nullopt;
  const Stored& oldest = at(0);
  const Line line(std::string_view(oldest.bytes.data(), oldest.size));
  first_ = (first_ + 1) % kMostLines;
  // A lost line taken off the queue counts no more.
  if (--count_ == 0) lost_ = 0;
  return line;
}

std::optional<IdleWatch::Event> IdleWatch::read(std::uint32_t now,
                                                std::uint32_t last_input) noexcept {
  if (idle_) {
    if (last_input == idle_since_) return std::nullopt;
    idle_ = false;
    // Input that SendInput stamped with a tick of its own can be older than
    // the idle start: never a wrapped count, nor more than measured by now.
    const auto lasted = static_cast<std::int32_t>(last_input - idle_since_);
    const auto measured = static_cast<std::int32_t>(now - idle_since_);
    return Event{true, static_cast<std::uint32_t>(std::clamp(lasted, 0, std::max(measured, 0))) / 1000};
  }
  // Input stamped ahead of the tick count is as recent as can be.
  const auto idle_ms = static_cast<std::int32_t>(now - last_input);
  if (idle_ms < 0 || static_cast<std::uint32_t>(idle_ms) < threshold_ms_) return std::nullopt;
  idle_ = true;
  idle_since_ = last_input;
  return Event{false, static_cast<std::uint32_t>(idle_ms) / 1000};
}

MediaWatch::Report MediaWatch::read(std::string_view status, std::string_view line) noexcept {
  if (!started_) {
    started_ = true;
    status_.assign(status);
    reported_.assign(line);
    last_read_.assign(line);
    return {true, !line.empty()};
  }
  const Report report{status_ != status,
                      !line.empty() && reported_ != line && last_read_ == line};
  status_.assign(status);
  if (report.track) reported_.assign(line);
  last_read_.assign(line);
  return report;
}

}  // namespace toolcase::watch
