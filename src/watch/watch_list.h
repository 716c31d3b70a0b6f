// The running watches, what each follows, and one reading of every source
// they watch. Used on the host's thread only.
#pragma once

#include <windows.h>

#include <cstddef>
#include <string_view>

#include "host/bounded_text.h"
#include "host/frame.h"
#include "watch/watch_rules.h"

namespace toolcase::watch {

inline constexpr std::size_t kMostWatches = 16;
inline constexpr std::size_t kMostFollowed = 64;

bool any_watch_running() noexcept;
// The names of the running watches in the order they started, blank-separated.
Text running_watch_names() noexcept;

// Starts the watch the request names (not a list), replacing one of the same
// name, which starts afresh; false when 16 others run. What it matches is
// reported at the next reading.
bool start_watch(const WatchRequest& request, TextEncoding encoding) noexcept;
// Stops the watch of that name; false when none has it.
bool stop_watch(std::string_view name) noexcept;
void stop_every_watch() noexcept;

// Reads each source the running watches need once (the last input, the
// top-level windows, the process list) and queues what changed.
void read_sources(EventQueue& events) noexcept;

}  // namespace toolcase::watch
