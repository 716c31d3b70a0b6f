#include "process/toolhelp.h"

#include <atomic>

#include "host/spin_lock.h"

namespace toolcase::process {

namespace {

using CreateSnapshotEntry = HANDLE(WINAPI*)(DWORD, DWORD);
using WalkEntry = BOOL(WINAPI*)(HANDLE, PROCESSENTRY32*);

struct ToolHelpBinding {
  HMODULE kernel = nullptr;
  CreateSnapshotEntry create_snapshot = nullptr;
  WalkEntry first = nullptr;
  WalkEntry next = nullptr;
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
  binding.first = entry_point<WalkEntry>(kernel, "Process32First");
  binding.next = entry_point<WalkEntry>(kernel, "Process32Next");
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

BOOL first_process(HANDLE snapshot, PROCESSENTRY32* entry) {
  const ToolHelpBinding* usable = usable_binding();
  return usable != nullptr && usable->first != nullptr ? usable->first(snapshot, entry) : 0;
}

BOOL next_process(HANDLE snapshot, PROCESSENTRY32* entry) {
  const ToolHelpBinding* usable = usable_binding();
  return usable != nullptr && usable->next != nullptr ? usable->next(snapshot, entry) : 0;
}

}  // namespace toolcase::process
