#include "presence/presence_reading.h"

#include <cstdint>
#include <optional>

#include "host/late_bound.h"
#include "host/wts_memory.h"
#include "presence/presence_rules.h"
#include "sysinfo/windows_version.h"

namespace toolcase::presence {

namespace {

// wtsapi32.dll's session queries (Windows XP and later), by value: the 32-bit
// DLL is built with Windows XP's declarations.
constexpr DWORD kCurrentSession = 0xFFFFFFFF;  // WTS_CURRENT_SESSION
constexpr int kConnectState = 8;               // WTSConnectState, a WTS_CONNECTSTATE_CLASS
constexpr int kSessionInfoEx = 25;             // WTSSessionInfoEx (Windows 7 and later)
constexpr int kActive = 0;                     // WTSActive

// WTSINFOEXW with its level-1 record as far as it is read: the record holds
// 64-bit times, so it starts 8 bytes in.
struct SessionInfoEx {
  DWORD level;
  alignas(8) ULONG session_id;
  LONG session_state;
  LONG session_flags;
};

using QuerySession = BOOL(WINAPI*)(HANDLE, DWORD, int, LPWSTR*, DWORD*);
using QueryNotificationState = HRESULT(WINAPI*)(int*);
LateBound query_session(SystemModule::wtsapi32, "WTSQuerySessionInformationW");
LateBound query_notification_state(SystemModule::shell32, "SHQueryUserNotificationState");

// The session's information of that class, when Windows gives at least `size` bytes.
unique_wts_memory session_information(int information_class, DWORD size) {
  const auto query = query_session.as<QuerySession>();
  LPWSTR buffer = nullptr;
  DWORD bytes = 0;
  if (query == nullptr || !wts_memory_can_be_freed() ||
      !query(nullptr, kCurrentSession, information_class, &buffer, &bytes)) {
    return unique_wts_memory();
  }
  unique_wts_memory memory(buffer);
  if (bytes < size) memory.reset();
  return memory;
}

template <typename Value>
const Value& as(const unique_wts_memory& memory) {
  return *reinterpret_cast<const Value*>(memory.get());
}

}  // namespace

std::string_view read_presence() noexcept {
  PresenceFacts facts;
  // Read from the registry only where a fact needs it, and then once.
  std::optional<sysinfo::WindowsVersion> version;
  const auto windows_version = [&version] {
    if (!version) version = sysinfo::windows_version();
    return *version;
  };
  if (const unique_wts_memory info = session_information(kSessionInfoEx, sizeof(SessionInfoEx))) {
    facts.session_flags = as<SessionInfoEx>(info).session_flags;
    // Windows 7 and Server 2008 R2 (6.1), as Windows itself has its version.
    if (session_locked(*facts.session_flags, false)) facts.session_flags_reversed = sysinfo::is_windows_7();
  }
  if (const unique_wts_memory state = session_information(kConnectState, sizeof(int))) {
    facts.session_on_screen = as<int>(state) == kActive;
  }
  BOOL saver_running = FALSE;
  facts.screen_saver_running =
      SystemParametersInfoW(SPI_GETSCREENSAVERRUNNING, 0, &saver_running, 0) && saver_running;
  int state = 0;
  if (const auto query = query_notification_state.as<QueryNotificationState>();
      query != nullptr && SUCCEEDED(query(&state))) {
    facts.notification_state = state;
    facts.store_apps_are_windows = state == kApp && windows_version().major >= 10;
  } else {
    const unique_desktop input(OpenInputDesktop(0, FALSE, DESKTOP_SWITCHDESKTOP));
    facts.input_desktop_opens = static_cast<bool>(input);
  }
  return presence_word(facts);
}

}  // namespace toolcase::presence
