// The one signature the host calls. A 32-bit host calls stdcall with six
// 32-bit arguments, and the callee removes their 24 bytes; x64 has one
// calling convention (the caller owns the argument space) and ignores
// __stdcall, and there the window handles and texts are 64-bit pointers. The
// module-definition file exports each command under its undecorated name.
#pragma once

#include <windows.h>

#include <utility>

#include "host/frame.h"

#define TOOLCASE_COMMAND(name)                                                                  \
  extern "C" int __stdcall name([[maybe_unused]] HWND main_window,                              \
                                [[maybe_unused]] HWND active_window, char* data,                \
                                [[maybe_unused]] char* parameters, [[maybe_unused]] BOOL show, \
                                [[maybe_unused]] BOOL no_pause) noexcept

namespace toolcase {

// How the texts of a call with this input are encoded (see choose_encoding).
// A Unicode host passes a window of its own, for which the platform's
// IsWindowUnicode answers TRUE, as its main window.
TextEncoding call_encoding(Text& input, HWND main_window) noexcept;

// Runs a command that passes text to the platform or answers text read from
// it: body(input, encoding) learns how this call's texts are encoded. Inlined
// into the command's export, as run_command is.
template <typename Body>
[[gnu::always_inline]] inline int run_text_command(char* data, HWND main_window, Body&& body) noexcept {
  Text input = read_input(data);
  const TextEncoding encoding = call_encoding(input, main_window);
  write_answer(data, body(std::as_const(input), encoding), encoding);
  return kResultInDataBuffer;
}

}  // namespace toolcase
