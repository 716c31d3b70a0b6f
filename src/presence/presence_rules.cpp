#include "presence/presence_rules.h"

namespace toolcase::presence {

std::optional<bool> session_locked(std::int32_t flags, bool reversed) noexcept {
  if (flags != kSessionLocked && flags != kSessionUnlocked) return std::nullopt;
  return (flags == kSessionLocked) != reversed;
}

std::string_view presence_word(const PresenceFacts& facts) noexcept {
  constexpr std::string_view kLocked = "locked", kHere = "here", kFullScreen = "fullscreen";
  if (facts.session_flags) {
    if (session_locked(*facts.session_flags, facts.session_flags_reversed).value_or(false)) return kLocked;
  }
  // Another user's session in front, or a disconnected remote one.
  if (facts.session_on_screen == false) return kLocked;
  if (facts.screen_saver_running) return "screensaver";
  if (!facts.notification_state) return facts.input_desktop_opens == false ? kLocked : kHere;
  switch (*facts.notification_state) {
    case kNotPresent: return kLocked;
    case kD3dFullScreen: return "game";
    case kPresentationMode: return "presenting";
    case kBusy: return kFullScreen;
    case kApp: return facts.store_apps_are_windows ? kHere : kFullScreen;
    default: return kHere;
  }
}

}  // namespace toolcase::presence
