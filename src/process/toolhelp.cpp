#include "process/toolhelp.h"

#include <atomic>

#include "host/spin_lock.h"

namespace toolcase::process {

namespace {

using CreateSnapshotEntry = HANDLE(WINAPI*)(DWORD, DWORD);
template <typename Entry>
using WalkEntry = BOOL(WINAPI*)(HANDLE, Entry*);

struct ToolHelpBinding {
  HMODULE kernel = nullptr;
  CreateSnapshotEntry create_snapshot = nullptr;
  WalkEntry<PROCESSENTRY32> first = nullptr;
  WalkEntry<PROCESSENTRY32> next = nullptr;
  WalkEntry<PROCESSENTRY32W> first_wide = nullptr;
  WalkEntry<PROCESSENTRY32W> next_wide = nullptr;

  WalkEntry<PROCESSENTRY32> first_of(const PROCESSENTRY32*) const { return first; }
  WalkEntry<PROCESSENTRY32> next_of(const PROCESSENTRY32*) const { return next; }
  WalkEntry<PROCESSENTRY32W> first_of(const PROCESSENTRY32W*) const { return first_wide; }
  WalkEntry<PROCESSENTRY32W> next_of(const PROCESSENTRY32W*) const { return next_wide; }
};

// Written once, under the lock, and only read once `bound` is seen set.
ToolHelpBinding binding;
std::atomic<bool> bound{false};
SpinLock binding_lock;

template <typename Entry>
Entry entry_point(HMODULE module, const char* name) {
  // Through void(*)(), the generic function pointer type.
  return reinterpret_cast<Entry>(reinterpret_cast<void (*)()>(GetProcAddress(module, name)));
}

// Fails while kernel32.dll cannot be found, so that a later call tries again;
// once it is found, every entry point is looked up once, missing ones as null.
bool bind_toolhelp() {
  const HMODULE kernel = GetModuleHandleA("kernel32.dll");
  if (kernel == nullptr) return false;
  binding.kernel = kernel;
  binding.create_snapshot = entry_point<CreateSnapshotEntry>(kernel, "CreateToolhelp32Snapshot");
  binding.first = entry_point<WalkEntry<PROCESSENTRY32>>(kernel, "Process32First");
  binding.next = entry_point<WalkEntry<PROCESSENTRY32>>(kernel, "Process32Next");
  binding.first_wide = entry_point<WalkEntry<PROCESSENTRY32W>>(kernel, "Process32FirstW");
  binding.next_wide = entry_point<WalkEntry<PROCESSENTRY32W>>(kernel, "Process32NextW");
  return true;
}

// The binding when it is usable (module and snapshot entry both found), else null.
const ToolHelpBinding* usable_binding() {
  if (!bound.load(std::memory_order_acquire)) {
    const SpinLock::Guard guard(binding_lock);
    if (!bound.load(std::memory_order_relaxed)) {
      if (!bind_toolhelp()) return nullptr;
      bound.store(true, std::memory_order_release);
    }
  }
  return binding.create_snapshot != nullptr ? &binding : nullptr;
}

}  // namespace

HANDLE take_snapshot(DWORD flags, DWORD process_id) {
  const ToolHelpBinding* usable = usable_binding();
  return usable != nullptr ? usable->create_snapshot(flags, process_id) : nullptr;
}

namespace {

template <typename Entry>
BOOL walk_step(HANDLE snapshot, Entry* entry, bool first) {
  const ToolHelpBinding* usable = usable_binding();
  if (usable == nullptr) return 0;
  const WalkEntry<Entry> step = first ? usable->first_of(entry) : usable->next_of(entry);
  return step != nullptr ? step(snapshot, entry) : 0;
}

}  // namespace

BOOL first_process(HANDLE snapshot, PROCESSENTRY32* entry) { return walk_step(snapshot, entry, true); }
BOOL next_process(HANDLE snapshot, PROCESSENTRY32* entry) { return walk_step(snapshot, entry, false); }
BOOL first_process(HANDLE snapshot, PROCESSENTRY32W* entry) { return walk_step(snapshot, entry, true); }
BOOL next_process(HANDLE snapshot, PROCESSENTRY32W* entry) { return walk_step(snapshot, entry, false); }

}  // namespace toolcase::process
