// The process-snapshot functions of kernel32.dll, bound by name on first use
// and kept until unload: the library never imports them.
#pragma once

#include <windows.h>
// For the types only: the functions it declares are reached through the binding.
#include <tlhelp32.h>

#include "host/unique_handle.h"

namespace toolcase::process {

// CreateToolhelp32Snapshot; NULL when the binding is not usable.
HANDLE take_snapshot(DWORD flags, DWORD process_id);
// Process32First and Process32Next (single-byte entries), Process32FirstW and
// Process32NextW (wide entries); 0 when the binding or the entry point is
// missing.
BOOL first_process(HANDLE snapshot, PROCESSENTRY32* entry);
BOOL next_process(HANDLE snapshot, PROCESSENTRY32* entry);
BOOL first_process(HANDLE snapshot, PROCESSENTRY32W* entry);
BOOL next_process(HANDLE snapshot, PROCESSENTRY32W* entry);

// Calls examine(entry) for every process in a fresh snapshot, to the end of
// the list: single-byte entries, or wide ones (PROCESSENTRY32W). False when
// no snapshot could be taken, which tells nothing of what runs.
template <typename Entry, typename Examine>
bool walk_process_list(Examine&& examine) {
  const HANDLE taken = take_snapshot(TH32CS_SNAPPROCESS, 0);
  // No binding gives NULL, a failed snapshot INVALID_HANDLE_VALUE: neither is
  // walked or closed.
  if (taken == nullptr || taken == INVALID_HANDLE_VALUE) return false;
  const unique_snapshot snapshot(taken);
  Entry entry{};
  entry.dwSize = sizeof entry;
  for (BOOL more = first_process(snapshot.get(), &entry); more;
       more = next_process(snapshot.get(), &entry)) {
    examine(entry);
  }
  return true;
}

}  // namespace toolcase::process
