#include "process/toolhelp.h"

#include "host/late_bound.h"

namespace toolcase::process {

namespace {

using CreateSnapshotEntry = HANDLE(WINAPI*)(DWORD, DWORD);
template <typename Entry>
using WalkEntry = BOOL(WINAPI*)(HANDLE, Entry*);

LateBound create_snapshot(SystemModule::kernel32, "CreateToolhelp32Snapshot");
LateBound first(SystemModule::kernel32, "Process32First");
LateBound next(SystemModule::kernel32, "Process32Next");
LateBound first_wide(SystemModule::kernel32, "Process32FirstW");
LateBound next_wide(SystemModule::kernel32, "Process32NextW");

template <typename Entry>
BOOL walk_step(LateBound& step, HANDLE snapshot, Entry* entry) {
  const auto walk = step.as<WalkEntry<Entry>>();
  return walk != nullptr ? walk(snapshot, entry) : 0;
}

}  // namespace

HANDLE take_snapshot(DWORD flags, DWORD process_id) {
  const auto create = create_snapshot.as<CreateSnapshotEntry>();
  return create != nullptr ? create(flags, process_id) : nullptr;
}

BOOL first_process(HANDLE snapshot, PROCESSENTRY32* entry) { return walk_step(first, snapshot, entry); }
BOOL next_process(HANDLE snapshot, PROCESSENTRY32* entry) { return walk_step(next, snapshot, entry); }
BOOL first_process(HANDLE snapshot, PROCESSENTRY32W* entry) {
  return walk_step(first_wide, snapshot, entry);
}
BOOL next_process(HANDLE snapshot, PROCESSENTRY32W* entry) {
  return walk_step(next_wide, snapshot, entry);
}

}  // namespace toolcase::process
