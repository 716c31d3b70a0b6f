// The DLL's stack guard at work, in a program built with the same code
// options and the same guard. Never shipped.
//   stack_guard_probe overrun N   writes N bytes into a local array of 16 and
//                                 exits 0 if it is still running after
//   stack_guard_probe guard RVA   exits with the low 32 bits of the guard of
//                                 the toolcase.dll beside it, at RVA
//   stack_guard_probe check RVA   runs "overrun 64", "overrun 16" and two
//                                 "guard RVA" as processes of their own, says
//                                 what each did; 0 when the overrun ended with
//                                 0xC0000409, the write within bounds ran to
//                                 its end and the two guards differ
#include <windows.h>

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

DWORD exit_code_of(const char* arguments) {
  char command[2 * MAX_PATH] = "\"";
  GetModuleFileNameA(nullptr, command + 1, MAX_PATH);
  std::strcat(std::strcat(command, "\" "), arguments);
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  if (!CreateProcessA(nullptr, command, nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                      &process)) {
    return STILL_ACTIVE;
  }
  WaitForSingleObject(process.hProcess, INFINITE);
  DWORD code = STILL_ACTIVE;
  GetExitCodeProcess(process.hProcess, &code);
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  return code;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3 || !guard_set) return 2;
  const unsigned long number = std::strtoul(argv[2], nullptr, 10);
  if (std::strcmp(argv[1], "overrun") == 0) return write_bytes(number) == 'x' ? 0 : 1;
  if (std::strcmp(argv[1], "guard") == 0) {
    const auto* dll = reinterpret_cast<const char*>(LoadLibraryA("toolcase.dll"));
    DWORD guard = 0;
    if (dll != nullptr) std::memcpy(&guard, dll + number, sizeof guard);
    return static_cast<int>(guard);
  }
  char guard_arguments[32];
  std::snprintf(guard_arguments, sizeof guard_arguments, "guard %lu", number);
  const DWORD overrun = exit_code_of("overrun 64");
  const DWORD within = exit_code_of("overrun 16");
  const DWORD first = exit_code_of(guard_arguments);
  const DWORD second = exit_code_of(guard_arguments);
  std::printf("overrun: exit code 0x%08lX; within bounds: %lu; guards of two loads: 0x%08lX, "
              "0x%08lX\n",
              overrun, within, first, second);
  return overrun == 0xC0000409 && within == 0 && first != second && first != 0 ? 0 : 1;
}
