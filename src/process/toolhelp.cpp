#include "process/toolhelp.h"

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

// Written once, inside the one-time initialisation, and only read after it.
ToolHelpBinding binding;
INIT_ONCE binding_once = INIT_ONCE_STATIC_INIT;

template <typename Entry>
Entry entry_point(HMODULE module, const char* name) {
  // Through void(*)(), the generic function pointer type.
  return reinterpret_cast<Entry>(reinterpret_cast<void (*)()>(GetProcAddress(module, name)));
}

// Fails while kernel32.dll cannot be found, so that a later call tries again;
// once it is found, every entry point is looked up once, missing ones as null.
BOOL CALLBACK bind_toolhelp(PINIT_ONCE, PVOID, PVOID*) {
  const HMODULE kernel = GetModuleHandleA("kernel32.dll");
  if (kernel == nullptr) return FALSE;
  binding.kernel = kernel;
  binding.create_snapshot = entry_point<CreateSnapshotEntry>(kernel, "CreateToolhelp32Snapshot");
  binding.first = entry_point<WalkEntry>(kernel, "Process32First");
  binding.next = entry_point<WalkEntry>(kernel, "Process32Next");
  return TRUE;
}

// The binding when it is usable (module and snapshot entry both found), else null.
const ToolHelpBinding* usable_binding() {
  if (!InitOnceExecuteOnce(&binding_once, bind_toolhelp, nullptr, nullptr)) return nullptr;
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
