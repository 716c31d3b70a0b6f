// Process watches: processes of an executable name.
#include <algorithm>

#include "host/wide_text.h"
#include "process/load_time_locale.h"
#include "process/process_names.h"
#include "process/toolhelp.h"
#include "watch/watch_kinds.h"

namespace toolcase::watch {

namespace {

// The session mIRC runs in: a process watch follows the user's own programs,
// not another signed-in user's.
bool in_own_session(DWORD process_id) {
  DWORD own = 0, theirs = 0;
  return ProcessIdToSessionId(GetCurrentProcessId(), &own) &&
         ProcessIdToSessionId(process_id, &theirs) && theirs == own;
}

}  // namespace

void read_processes(EventQueue& events) noexcept {
  begin_reading(Kind::process);
  const bool any_utf8 = std::any_of(watches.begin(), watches.end(), [](const Watch& w) {
    return w.kind == Kind::process && w.encoding == TextEncoding::utf8;
  });
  const bool any_ansi = std::any_of(watches.begin(), watches.end(), [](const Watch& w) {
    return w.kind == Kind::process && w.encoding == TextEncoding::ansi;
  });
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
          in_own_session(entry.th32ProcessID)) {
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
