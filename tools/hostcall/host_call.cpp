#include "host_call.h"

#include <algorithm>
#include <array>
#include <cstring>

#if defined(__i386__)
// int toolcase_call6(FARPROC fn, const uint32_t args[6], int* left_on_stack)
// Pushes the six arguments right to left, calls fn and measures how many
// argument bytes are still on the stack afterwards (0 for stdcall).
extern "C" int toolcase_call6(FARPROC fn, const std::uint32_t* args, int* left_on_stack);
asm(R"(
    .text
    .globl _toolcase_call6
_toolcase_call6:
    pushl %ebp
    movl  %esp, %ebp
    pushl %ebx
    pushl %esi
    pushl %edi
    movl  12(%ebp), %esi
    movl  %esp, %edi
    pushl 20(%esi)
    pushl 16(%esi)
    pushl 12(%esi)
    pushl 8(%esi)
    pushl 4(%esi)
    pushl (%esi)
    call  *8(%ebp)
    movl  %edi, %ecx
    subl  %esp, %ecx
    movl  16(%ebp), %edx
    movl  %ecx, (%edx)
    movl  %edi, %esp
    popl  %edi
    popl  %esi
    popl  %ebx
    popl  %ebp
    ret
)");
#endif

namespace toolcase::host {

#if defined(__i386__)
int call_command(FARPROC fn, HWND main_window, HWND active_window, char* data, char* parameters,
                 BOOL show, BOOL no_pause, int& stack_bytes_removed) {
  const std::array<std::uint32_t, 6> args = {
      static_cast<std::uint32_t>(reinterpret_cast<std::uintptr_t>(main_window)),
      static_cast<std::uint32_t>(reinterpret_cast<std::uintptr_t>(active_window)),
      static_cast<std::uint32_t>(reinterpret_cast<std::uintptr_t>(data)),
      static_cast<std::uint32_t>(reinterpret_cast<std::uintptr_t>(parameters)),
      static_cast<std::uint32_t>(show),
      static_cast<std::uint32_t>(no_pause)};
  int left_on_stack = 0;
  const int result = toolcase_call6(fn, args.data(), &left_on_stack);
  stack_bytes_removed = kArgumentBytes - left_on_stack;
  return result;
}
#else
int call_command(FARPROC fn, HWND main_window, HWND active_window, char* data, char* parameters,
                 BOOL show, BOOL no_pause, int& stack_bytes_removed) {
  using Command = int (*)(HWND, HWND, char*, char*, BOOL, BOOL);
  // Through void(*)(), the generic function pointer type.
  const auto command = reinterpret_cast<Command>(reinterpret_cast<void (*)()>(fn));
  stack_bytes_removed = 0;
  return command(main_window, active_window, data, parameters, show, no_pause);
}
#endif

CallRecord call_like_host(FARPROC fn, std::string_view input, HWND main_window) {
  std::array<char, kDataBufferSize + kGuardSize> buffer;
  // Filler after the input's NUL shows whether the command wrote past its answer.
  for (std::size_t i = 0; i < kDataBufferSize; ++i) buffer[i] = static_cast<char>('a' + i % 26);
  std::fill(buffer.begin() + kDataBufferSize, buffer.end(), static_cast<char>(kGuardByte));
  const std::size_t input_length = std::min(input.size(), kDataBufferSize - 1);
  std::memcpy(buffer.data(), input.data(), input_length);
  buffer[input_length] = '\0';
  const auto before = buffer;

  std::array<char, kDataBufferSize> parameters{};
  CallRecord record;
  record.returned = call_command(fn, main_window, nullptr, buffer.data(), parameters.data(), FALSE,
                                 FALSE, record.stack_bytes_removed);

  const char* nul = static_cast<const char*>(std::memchr(buffer.data(), '\0', kDataBufferSize));
  record.answer_terminated = nul != nullptr;
  const std::size_t answer_length =
      nul ? static_cast<std::size_t>(nul - buffer.data()) : kDataBufferSize;
  record.answer.assign(buffer.data(), answer_length);
  record.tail_intact = !nul || std::equal(buffer.begin() + answer_length + 1,
                                          buffer.begin() + kDataBufferSize,
                                          before.begin() + answer_length + 1);
  record.guard_intact = std::all_of(buffer.begin() + kDataBufferSize, buffer.end(), [](char c) {
    return static_cast<unsigned char>(c) == kGuardByte;
  });
  return record;
}

}  // namespace toolcase::host
