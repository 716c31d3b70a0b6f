#include "host/stack_guard.h"

#include <windows.h>
#include <ntsecapi.h>

#include <cstdint>

namespace {

// The status with which Windows' own guard ends a process.
constexpr UINT kStackBufferOverrun = 0xC0000409;

}  // namespace

// The names the compiler's guarded functions refer to. GCC's own runtime
// for them (libssp) would be one more DLL beside this one.
extern "C" {
std::uintptr_t __stack_chk_guard;  // NOLINT(bugprone-reserved-identifier)

// Ends the process at once, as the platform's guard does: the stack is not
// to be trusted, so nothing unwinds, no box is shown and the host is not
// called back.
// NOLINTNEXTLINE(bugprone-reserved-identifier)
[[noreturn]] __attribute__((no_stack_protector)) void __stack_chk_fail() {
  TerminateProcess(GetCurrentProcess(), kStackBufferOverrun);
  __builtin_trap();
}
}

namespace toolcase {

__attribute__((no_stack_protector)) void set_stack_guard() noexcept {
  if (!RtlGenRandom(&__stack_chk_guard, sizeof __stack_chk_guard)) {
    // Never seen to fail; should it, the image's address (moved by ASLR), the
    // process and the time still vary from load to load.
    __stack_chk_guard = reinterpret_cast<std::uintptr_t>(&__stack_chk_guard) ^
                        (std::uintptr_t{GetCurrentProcessId()} << 16) ^ GetTickCount();
  }
}

}  // namespace toolcase
