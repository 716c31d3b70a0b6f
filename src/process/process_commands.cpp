// Process commands: the caller's text is an executable name, matched against
// every entry of the process list (file-name part first, then the whole
// name, both ASCII-upper-cased). Neither command answers "error".
#include <span>
#include <string_view>

#include "host/command.h"
#include "host/text.h"
#include "host/unique_handle.h"
#include "process/load_time_locale.h"
#include "process/process_names.h"
#include "process/toolhelp.h"

using namespace toolcase;
using namespace toolcase::process;

namespace {

// The single-byte process entry: 296 bytes, 304 on x64, where its default
// heap id is pointer-sized (and aligned to 8).
static_assert(sizeof(PROCESSENTRY32) == (sizeof(void*) == 8 ? 304 : 296));

// Calls examine(entry) for every process in a fresh snapshot, to the end of
// the list.
template <typename Examine>
void walk_process_list(Examine&& examine) {
  const HANDLE taken = take_snapshot(TH32CS_SNAPPROCESS, 0);
  // No binding gives NULL, a failed snapshot INVALID_HANDLE_VALUE: neither is
  // walked or closed.
  if (taken == nullptr || taken == INVALID_HANDLE_VALUE) return;
  const unique_snapshot snapshot(taken);
  PROCESSENTRY32 entry{};
  entry.dwSize = sizeof entry;
  for (BOOL more = first_process(snapshot.get(), &entry); more;
       more = next_process(snapshot.get(), &entry)) {
    examine(entry);
  }
}

bool entry_matches(const PROCESSENTRY32& entry, std::string_view name_under_test) {
  return name_matches(executable_name(std::span<const char>(entry.szExeFile)), name_under_test,
                      load_time_locale().name_encoding);
}

}  // namespace

TOOLCASE_COMMAND(ProcessIsRunning) {
  return run_command(data, [](const Text& input) {
    const Text name = text::to_upper_ascii(input);
    bool running = false;
    walk_process_list([&](const PROCESSENTRY32& entry) {
      if (entry_matches(entry, name)) running = true;
    });
    return true_or_false(running);
  });
}

TOOLCASE_COMMAND(KillProcess) {
  return run_command(data, [](const Text& input) {
    const Text name = text::to_upper_ascii(input);
    TerminationStatus status;
    walk_process_list([&](const PROCESSENTRY32& entry) {
      if (!entry_matches(entry, name)) return;
      const unique_process process(OpenProcess(PROCESS_TERMINATE, FALSE, entry.th32ProcessID));
      status.record(process ? TerminateProcess(process.get(), 0) : 0);
    });
    return true_or_false(status.succeeded());
  });
}
