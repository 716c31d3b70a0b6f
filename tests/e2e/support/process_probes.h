// What a process holds, read from outside the code being watched: a leak
// between two probes raises the figure.
#pragma once

#include <windows.h>

#include <cstddef>

namespace toolcase::e2e {

// Bytes of committed private memory, summed over the address space: Wine
// reports PrivateUsage as 0.
std::size_t private_bytes();

// The index the next TlsAlloc gives: a slot kept by someone raises it.
DWORD next_tls_index();

// Threads of this process, from a ToolHelp thread walk.
int thread_count();

}  // namespace toolcase::e2e
