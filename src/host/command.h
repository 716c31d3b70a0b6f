// The one signature the host calls: stdcall, six 32-bit arguments, the
// callee removes 24 bytes. The module-definition file exports each command
// under its undecorated name.
#pragma once

#include <windows.h>

#include "host/frame.h"

#define TOOLCASE_COMMAND(name)                                                                  \
  extern "C" int __stdcall name([[maybe_unused]] HWND main_window,                              \
                                [[maybe_unused]] HWND active_window, char* data,                \
                                [[maybe_unused]] char* parameters, [[maybe_unused]] BOOL show, \
                                [[maybe_unused]] BOOL no_pause) noexcept
