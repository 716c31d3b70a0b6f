// Whether the user is there, from what Windows tells of the session and the
// screen. Pure rules, no platform calls.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace toolcase::presence {

// WTSINFOEX_LEVEL1's SessionFlags (Windows 7, Server 2008 R2 and later).
inline constexpr std::int32_t kSessionLocked = 0;
inline constexpr std::int32_t kSessionUnlocked = 1;

// SHQueryUserNotificationState's answers (Vista and later).
enum NotificationState : int {
  kNotPresent = 1,           // locked, a screen saver, another session in front
  kBusy = 2,                 // a full-screen program, or Presentation Settings applied
  kD3dFullScreen = 3,        // a full-screen Direct3D program
  kPresentationMode = 4,     // the user turned presentation mode on
  kAcceptsNotifications = 5,
  kQuietTime = 6,            // a new user's first hour
  kApp = 7,                  // a Store app in front (Windows 8 and later)
};

// One reading of what Windows tells; a fact it cannot tell is left empty.
struct PresenceFacts {
  std::optional<std::int32_t> session_flags;
  // Windows 7 and Server 2008 R2 give the lock and unlock values reversed.
  bool session_flags_reversed = false;
  // The session's WTSConnectState is WTSActive: it is the one on the screen.
  std::optional<bool> session_on_screen;
  bool screen_saver_running = false;
  std::optional<int> notification_state;
  // From Windows 10 on Store apps are windows; Windows 8 and 8.1 fill the screen with them.
  bool store_apps_are_windows = false;
  // Asked only without a notification state: the Winlogon desktop is in front when it will not open.
  std::optional<bool> input_desktop_opens;
};

// "locked", "screensaver", "game", "presenting", "fullscreen" or "here": the
// first that holds, in that order of the facts.
std::string_view presence_word(const PresenceFacts& facts) noexcept;

// Whether SessionFlags say locked; empty for WTS_SESSIONSTATE_UNKNOWN or any
// other value.
std::optional<bool> session_locked(std::int32_t flags, bool reversed) noexcept;

}  // namespace toolcase::presence
