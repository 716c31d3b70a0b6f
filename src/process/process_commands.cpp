// Process commands: the caller's text is an executable name, matched against
// every entry of the process list (file-name part first, then the whole
// name, both ASCII-upper-cased), or "pid:N", one process by its id. No
// executable's name holds a ':', so that form hides none. Neither command
// answers "error".
#include <cstdint>
#include <string_view>

#include "host/command.h"
#include "host/text.h"
#include "host/unique_handle.h"
#include "process/load_time_locale.h"
#include "process/process_list.h"
#include "process/process_names.h"

using namespace toolcase;
using namespace toolcase::process;

namespace {

// How long one KillProcess waits, in all, for processes that are ending.
constexpr DWORD kEndingWaitMilliseconds = 500;

// Windows XP's headers lack it; Vista grants it where it refuses the full right.
constexpr DWORD kQueryLimitedInformation = 0x1000;  // PROCESS_QUERY_LIMITED_INFORMATION

// The time left until a deadline on the tick count, 0 once it has passed.
DWORD milliseconds_until(DWORD deadline) {
  const auto left = static_cast<std::int32_t>(deadline - GetTickCount());
  return left > 0 ? static_cast<DWORD>(left) : 0;
}

// The rights to end a process and to see it end, else the right to end it
// alone: a process may grant that but not the right to wait for it. Windows XP
// knows no limited query right and refuses any request that holds it.
unique_process open_to_end(DWORD process_id) {
  for (const DWORD rights : {PROCESS_TERMINATE | SYNCHRONIZE | kQueryLimitedInformation,
                             DWORD{PROCESS_TERMINATE | SYNCHRONIZE}, DWORD{PROCESS_TERMINATE}}) {
    unique_process process(OpenProcess(rights, FALSE, process_id));
    if (process || GetLastError() != ERROR_ACCESS_DENIED) return process;
  }
  return unique_process();
}

// How one KillProcess waits: until its deadline, or not at all when the host
// must not be paused (then a process counts as ended once TerminateProcess
// took it).
struct Ending {
  DWORD deadline;
  bool may_wait;
  DWORD wait() const { return may_wait ? milliseconds_until(deadline) : 0; }
};

// Ends the opened process; nonzero once it has ended. TerminateProcess only
// starts the end, which comes once pending I/O has finished: the process is
// waited for until the deadline. A process that is ending already is refused
// with ERROR_ACCESS_DENIED until its handle is signalled: it is waited for
// the same way. Without the right to wait, Windows' word that it took the
// request is all there is.
BOOL end_opened(HANDLE process, const Ending& ending) {
  if (!TerminateProcess(process, 0)) {
    if (GetLastError() != ERROR_ACCESS_DENIED) return FALSE;
    return WaitForSingleObject(process, ending.wait()) == WAIT_OBJECT_0;
  }
  if (!ending.may_wait) return TRUE;
  const DWORD waited = WaitForSingleObject(process, ending.wait());
  return waited == WAIT_OBJECT_0 || waited == WAIT_FAILED;
}

// Ends a process of the list. Ending a program's main process ends its
// helpers too: by a helper's turn it may be gone from the system (OpenProcess
// fails with ERROR_INVALID_PARAMETER), which counts as ended. Process id 0,
// the idle process, is never opened.
BOOL end_listed(DWORD process_id, const Ending& ending) {
  const unique_process process = open_to_end(process_id);
  if (!process) return process_id != 0 && GetLastError() == ERROR_INVALID_PARAMETER;
  return end_opened(process.get(), ending);
}

// "pid:N": the process is opened once, checked through that handle (which
// keeps its id from passing to a new process) and ended through it. One that
// has ended, or is gone, is no match; one that refuses every right is a
// match it could not end, while the list shows it.
void end_by_id(DWORD process_id, const Ending& ending, TerminationStatus& status) {
  if (process_id == 0) return;
  const unique_process process = open_to_end(process_id);
  if (!process) {
    if (GetLastError() == ERROR_ACCESS_DENIED && is_running(process_id)) status.record(FALSE);
    return;
  }
  // Without the right to wait, the list tells whether it still runs.
  const DWORD state = WaitForSingleObject(process.get(), 0);
  if (state == WAIT_OBJECT_0 || (state == WAIT_FAILED && !is_running(process_id))) return;
  status.record(end_opened(process.get(), ending));
}

}  // namespace

TOOLCASE_COMMAND(ProcessIsRunning) {
  return run_text_command(data, main_window, [](const Text& input, TextEncoding encoding) {
    if (const text::PrefixedId process = text::parse_prefixed_id(input, "pid:"); process.has_prefix) {
      return true_or_false(process.id != 0 && is_running(process.id));
    }
    bool running = false;
    const Text name = upper_name(input, name_encoding(encoding));
    for_each_match(name, encoding, [&running](DWORD, std::string_view) { running = true; });
    return true_or_false(running);
  });
}

TOOLCASE_COMMAND(KillProcess) {
  return run_text_command(data, main_window, [no_pause](const Text& input, TextEncoding encoding) {
    TerminationStatus status;
    const Ending ending{GetTickCount() + kEndingWaitMilliseconds, no_pause == FALSE};
    if (const text::PrefixedId process = text::parse_prefixed_id(input, "pid:"); process.has_prefix) {
      end_by_id(process.id, ending, status);
    } else {
      const Text name = upper_name(input, name_encoding(encoding));
      for_each_match(name, encoding, [&status, &ending](DWORD process_id, std::string_view) {
        status.record(end_listed(process_id, ending));
      });
    }
    return true_or_false(status.succeeded());
  });
}
