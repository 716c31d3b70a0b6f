// The DLL's entry point, in place of the MinGW runtime's start-up code: that
// code brings relocation, thread-local and exit-list machinery this library
// never uses, and some 6 KB with it. All the library needs at load is its
// namespace-scope objects constructed (the module strings, the locale facts
// read on the loading thread); none of them needs anything at unload. What
// commands take later (a system DLL they loaded) is given back at unload.
#include <windows.h>

#include <cstddef>

#include "host/late_bound.h"
#include "host/stack_guard.h"

// The linker's list of constructors: -1 (the count is not stored), each
// constructor in link order, then 0. The name is the linker's own.
extern "C" void (*__CTOR_LIST__[])();  // NOLINT(bugprone-reserved-identifier)

// Unguarded: the guard changes while this frame is live.
extern "C" __attribute__((no_stack_protector)) BOOL WINAPI DllEntryPoint(HINSTANCE, DWORD reason,
                                                                         LPVOID reserved) {
  if (reason == DLL_PROCESS_ATTACH) {
    toolcase::set_stack_guard();
    std::size_t count = 0;
    while (__CTOR_LIST__[count + 1] != nullptr) ++count;
    // Last to first, as the runtime's own start-up runs them.
    for (std::size_t i = count; i >= 1; --i) __CTOR_LIST__[i]();
  }
  // A process that is ending has no use for freed DLLs, and may not free any.
  if (reason == DLL_PROCESS_DETACH && reserved == nullptr) toolcase::release_late_bound_modules();
  return TRUE;
}
