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

// The time left until a deadline on the tick count, 0 once it has passed.
DWORD milliseconds_until(DWORD deadline) {
  const auto left = static_cast<std::int32_t>(deadline - GetTickCount());
  return left > 0 ? static_cast<DWORD>(left) : 0;
}

// Ends the process; nonzero when it has ended. Ending a program's main process
// ends its helpers too, and asynchronously: by a helper's turn it may be gone
// from the system (OpenProcess fails with ERROR_INVALID_PARAMETER) or be
// ending, which TerminateProcess refuses with ERROR_ACCESS_DENIED until its
// handle is signalled (pending I/O finishing): such a process is waited for
// until the command's deadline. Either way it is ended as asked. Process id
// 0, the idle process, is never opened.
BOOL terminate_or_already_ended(DWORD process_id, DWORD deadline) {
  unique_process process(OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, process_id));
  // A process may grant the right to end it but not the right to wait for it.
  if (!process && GetLastError() == ERROR_ACCESS_DENIED) {
    process.reset(OpenProcess(PROCESS_TERMINATE, FALSE, process_id));
  }
  if (!process) return process_id != 0 && GetLastError() == ERROR_INVALID_PARAMETER;
  if (const BOOL terminated = TerminateProcess(process.get(), 0)) return terminated;
  const DWORD wait = GetLastError() == ERROR_ACCESS_DENIED ? milliseconds_until(deadline) : 0;
  // Without SYNCHRONIZE the wait fails: a live process refused stays refused.
  return WaitForSingleObject(process.get(), wait) == WAIT_OBJECT_0;
}

// Calls on_process(process id) for the process "pid:N" names while it runs,
// or for every process of the executable name, in list order.
template <typename OnProcess>
void for_each_named(const Text& input, TextEncoding encoding, OnProcess&& on_process) {
  if (const text::PrefixedId process = text::parse_prefixed_id(input, "pid:"); process.has_prefix) {
    if (process.id != 0 && is_running(process.id)) on_process(process.id);
    return;
  }
  const Text name = upper_name(input, name_encoding(encoding));
  for_each_match(name, encoding, [&on_process](DWORD process_id, std::string_view) {
    on_process(process_id);
  });
}

}  // namespace

TOOLCASE_COMMAND(ProcessIsRunning) {
  return run_text_command(data, main_window, [](const Text& input, TextEncoding encoding) {
    bool running = false;
    for_each_named(input, encoding, [&running](DWORD) { running = true; });
    return true_or_false(running);
  });
}

TOOLCASE_COMMAND(KillProcess) {
  return run_text_command(data, main_window, [](const Text& input, TextEncoding encoding) {
    TerminationStatus status;
    const DWORD deadline = GetTickCount() + kEndingWaitMilliseconds;
    for_each_named(input, encoding, [&status, deadline](DWORD process_id) {
      status.record(terminate_or_already_ended(process_id, deadline));
    });
    return true_or_false(status.succeeded());
  });
}
