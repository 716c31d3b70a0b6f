// The DLL's stack guard at work, in a program built with the same code
// options and the same guard. Never shipped.
//   stack_guard_probe overrun N   writes N bytes into a local array of 16;
//                                 exits 0 if it is still running after
//   stack_guard_probe guard RVA   exits with the low 32 bits of the guard of
//                                 the toolcase.dll beside it, at RVA
//   stack_guard_probe check RVA   runs "overrun 64", "overrun 16" and two
//                                 "guard RVA" as processes of their own; 0 when
//                                 the overrun ended with 0xC0000409, the write
//                                 within bounds ran to its end and the two
//                                 loads' guards differ
#include <windows.h>
#include <process.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "host/stack_guard.h"

namespace {

// Before any guarded frame is live, as the DLL's entry point does it.
const bool guard_set = (toolcase::set_stack_guard(), true);

__attribute__((noinline)) int write_bytes(std::size_t count) {
  char buffer[16];
  std::memset(buffer, 'x', count);
  return buffer[0];
}

LONG WINAPI end_with_crash_code(EXCEPTION_POINTERS* crash) {
  TerminateProcess(GetCurrentProcess(), crash->ExceptionRecord->ExceptionCode);
  return EXCEPTION_EXECUTE_HANDLER;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3 || !guard_set) return 2;
  const unsigned long number = std::strtoul(argv[2], nullptr, 10);
  if (std::strcmp(argv[1], "overrun") == 0) {
    // Without a guard the return jumps to the bytes written: a crash, which
    // then ends the process with its code rather than wait in a debugger.
    SetUnhandledExceptionFilter(end_with_crash_code);
    return write_bytes(number) == 'x' ? 0 : 1;
  }
  if (std::strcmp(argv[1], "guard") == 0) {
    const auto* dll = reinterpret_cast<const char*>(LoadLibraryA("toolcase.dll"));
    DWORD guard = 0;
    if (dll != nullptr) std::memcpy(&guard, dll + number, sizeof guard);
    return static_cast<int>(guard);
  }
  // The exit code of this program run with arguments, in a process of its own.
  char self[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, self, MAX_PATH);
  const auto exit_code = [&self](const char* command, const char* argument) {
    return static_cast<DWORD>(_spawnl(_P_WAIT, self, "probe", command, argument, nullptr));
  };
  const DWORD overrun = exit_code("overrun", "64");
  const DWORD within = exit_code("overrun", "16");
  const DWORD first = exit_code("guard", argv[2]);
  const DWORD second = exit_code("guard", argv[2]);
  std::printf("overrun: exit code 0x%08lX; within bounds: %lu; guards of two loads: 0x%08lX, "
              "0x%08lX\n",
              overrun, within, first, second);
  return overrun == 0xC0000409 && within == 0 && first != second && first != 0 ? 0 : 1;
}
