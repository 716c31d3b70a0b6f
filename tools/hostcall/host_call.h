// Plays mIRC's part: calls a command with the host's convention and checks
// what the host relies on (the result 3, on 32-bit 24 bytes of arguments
// removed, the answer kept inside the 900-byte data buffer).
#pragma once

#include <windows.h>

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace toolcase::host {

inline constexpr std::size_t kDataBufferSize = 900;
inline constexpr std::size_t kGuardSize = 64;
inline constexpr unsigned char kGuardByte = 0xCD;
#if defined(__i386__)
// A 32-bit host calls stdcall: the callee removes the arguments.
inline constexpr bool kCalleeRemovesArguments = true;
#else
// x64 has one calling convention, in which the caller reserves and releases
// the argument space: there is nothing for the callee to remove, nothing to
// measure.
inline constexpr bool kCalleeRemovesArguments = false;
#endif
// Bytes of arguments a 32-bit callee must remove: six 32-bit arguments.
inline constexpr int kArgumentBytes = 24;

// Whether a callee that removed this many bytes kept the host's convention:
// all 24 on 32-bit; on x64 there is nothing to remove.
constexpr bool arguments_removed_as_host_expects(int stack_bytes_removed) {
  return !kCalleeRemovesArguments || stack_bytes_removed == kArgumentBytes;
}

struct CallRecord {
  int returned = 0;
  int stack_bytes_removed = 0;     // measured where kCalleeRemovesArguments, else 0
  std::string answer;              // the buffer's bytes up to its first NUL
  bool answer_terminated = false;  // a NUL lies within the 900 bytes
  bool tail_intact = false;        // the bytes after the answer's NUL are unchanged
  bool guard_intact = false;       // nothing was written behind the buffer
};

// Calls the command at fn with the six arguments and reports its result and,
// on 32-bit (pushed right to left), how many bytes of arguments it removed.
int call_command(FARPROC fn, HWND main_window, HWND active_window, char* data, char* parameters,
                 BOOL show, BOOL no_pause, int& stack_bytes_removed);

// Calls the command as mIRC does: input (cut to 899 bytes) in a 900-byte
// data buffer, filler after its NUL and guard bytes behind the buffer.
CallRecord call_like_host(FARPROC fn, std::string_view input, HWND main_window = nullptr);

}  // namespace toolcase::host
