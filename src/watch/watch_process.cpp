// Process watches: processes of an executable name.
#include <algorithm>
#include <optional>
#include <span>

#include "host/late_bound.h"
#include "host/wide_text.h"
#include "host/wts_memory.h"
#include "process/load_time_locale.h"
#include "process/process_names.h"
#include "process/toolhelp.h"
#include "watch/watch_kinds.h"

namespace toolcase::watch {

namespace {

// WTS_PROCESS_INFOW.
struct SessionProcess {
  DWORD session_id;
  DWORD process_id;
  LPWSTR name;
  PSID user;
};
using EnumerateProcesses = BOOL(WINAPI*)(HANDLE, DWORD, DWORD, SessionProcess**, DWORD*);
LateBound enumerate_processes(SystemModule::wtsapi32, "WTSEnumerateProcessesW");

// Every process's session as the terminal services list them, asked at most
// once per reading, and only for a process whose session Windows will not
// tell its id's way: ProcessIdToSessionId needs the right to query it,
// which a program that does not run as administrator never gets for one that
// does.
class SessionList {
 public:
  std::optional<DWORD> session_of(DWORD process_id) noexcept {
    if (!asked_) {
      asked_ = true;
      SessionProcess* first = nullptr;
      DWORD count = 0;
      const auto enumerate = enumerate_processes.as<EnumerateProcesses>();
      if (enumerate != nullptr && wts_memory_can_be_freed() && enumerate(nullptr, 0, 1, &first, &count)) {
        memory_.reset(first);
        processes_ = std::span<const SessionProcess>(first, first != nullptr ? count : 0);
      }
    }
    for (const SessionProcess& process : processes_) {
      if (process.process_id == process_id) return process.session_id;
    }
    return std::nullopt;
  }

 private:
  bool asked_ = false;
  unique_wts_memory memory_;
  std::span<const SessionProcess> processes_;
};

// The session mIRC runs in: a process watch follows the user's own programs,
// not another signed-in user's. A process whose session cannot be told is
// not followed.
bool in_own_session(DWORD process_id, DWORD own_session, SessionList& sessions) {
  DWORD theirs = 0;
  if (ProcessIdToSessionId(process_id, &theirs)) return theirs == own_session;
  if (GetLastError() != ERROR_ACCESS_DENIED) return false;
  return sessions.session_of(process_id) == own_session;
}

}  // namespace

void read_processes(EventQueue& events) noexcept {
  const bool any_utf8 = std::any_of(watches.begin(), watches.end(), [](const Watch& w) {
    return w.kind == Kind::process && w.encoding == TextEncoding::utf8;
  });
  const bool any_ansi = std::any_of(watches.begin(), watches.end(), [](const Watch& w) {
    return w.kind == Kind::process && w.encoding == TextEncoding::ansi;
  });
  DWORD own_session = 0;
  if (!ProcessIdToSessionId(GetCurrentProcessId(), &own_session)) return;
  begin_reading(Kind::process);
  SessionList sessions;
  const bool read = process::walk_process_list<PROCESSENTRY32W>([&](const PROCESSENTRY32W& entry) {
    // Each name in each encoding a watch needs, converted once.
    const Text utf8_name = any_utf8 ? text_from_wide(entry.szExeFile) : Text();
    const Text ansi_name =
        any_ansi ? text_in_encoding(entry.szExeFile, TextEncoding::ansi) : Text();
    for (Watch& watch : watches) {
      if (watch.kind != Kind::process) continue;
      const bool utf8 = watch.encoding == TextEncoding::utf8;
      if (process::name_matches(utf8 ? utf8_name : ansi_name, watch.process_name,
                                process::name_encoding(watch.encoding)) &&
          in_own_session(entry.th32ProcessID, own_session, sessions)) {
        saw_match(events, watch, entry.th32ProcessID, "start");
      }
    }
  });
  // A list that could not be read is not "every process ended": the next reading decides.
  if (!read) return;
  for_each_watch(Kind::process, [&events](Watch& watch) {
    sweep_unseen(events, watch, "end", false, [](std::uintptr_t) { return false; });
  });
}

}  // namespace toolcase::watch
