// The process-snapshot functions of kernel32.dll, bound by name on first use
// and kept until unload: the library never imports them.
#pragma once

#include <windows.h>
// For the types only: the functions it declares are reached through the binding.
#include <tlhelp32.h>

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

}  // namespace toolcase::process
