// One reading of whether the user is there, for Presence and presence watches.
#pragma once

#include <string_view>

namespace toolcase::presence {

// "locked", "screensaver", "game", "presenting", "fullscreen" or "here".
std::string_view read_presence() noexcept;

}  // namespace toolcase::presence
