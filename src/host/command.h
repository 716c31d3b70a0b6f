// The one signature the host calls. A 32-bit host calls stdcall with six
// 32-bit arguments, and the callee removes their 24 bytes; x64 has one
// calling convention (the caller owns the argument space) and ignores
// __stdcall, and there the window handles and texts are 64-bit pointers. The
// module-definition file exports each command under its undecorated name.
#pragma once

#include <windows.h>

#include "host/frame.h"

#define TOOLCASE_COMMAND(name)                                                                  \
  extern "C" int __stdcall name([[maybe_unused]] HWND main_window,                              \
                                [[maybe_unused]] HWND active_window, char* data,                \
                                [[maybe_unused]] char* parameters, [[maybe_unused]] BOOL show, \
                                [[maybe_unused]] BOOL no_pause) noexcept
