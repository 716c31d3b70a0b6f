#include "process_probes.h"

#include <tlhelp32.h>

namespace toolcase::e2e {

std::size_t private_bytes() {
  std::size_t total = 0;
  MEMORY_BASIC_INFORMATION region;
  for (const char* address = nullptr;
       VirtualQuery(address, &region, sizeof region) == sizeof region;) {
    if (region.State == MEM_COMMIT && region.Type == MEM_PRIVATE) total += region.RegionSize;
    const char* next = static_cast<const char*>(region.BaseAddress) + region.RegionSize;
    if (next <= address) break;  // wrapped past the top of the address space
    address = next;
  }
  return total;
}

DWORD next_tls_index() {
  const DWORD index = TlsAlloc();
  TlsFree(index);
  return index;
}

int thread_count() {
  const HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0);
  if (snapshot == INVALID_HANDLE_VALUE) return -1;
  THREADENTRY32 entry{};
  entry.dwSize = sizeof entry;
  int threads = 0;
  for (BOOL more = Thread32First(snapshot, &entry); more; more = Thread32Next(snapshot, &entry)) {
    if (entry.th32OwnerProcessID == GetCurrentProcessId()) ++threads;
  }
  CloseHandle(snapshot);
  return threads;
}

}  // namespace toolcase::e2e
