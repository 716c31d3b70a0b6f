// The boundary with the host: every command reads the data buffer once,
// computes one answer and writes it through one bounded write, and no C++
// exception ever reaches the host.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace toolcase {

// The host documents its data buffer as 900 bytes, NUL included.
inline constexpr std::size_t kDataBufferSize = 900;
// Every command returns this: the data buffer now holds the result.
inline constexpr int kResultInDataBuffer = 3;

inline constexpr std::string_view kTrue = "true";
inline constexpr std::string_view kFalse = "false";
inline constexpr std::string_view kError = "error";

// The buffer's bytes up to the first NUL; a null pointer reads as "".
// Never reads more than the host's buffer size.
std::string read_input(const char* data);

// Copies the answer and its NUL over the start of the buffer, cut to 899
// bytes; bytes after that NUL stay as they were. A null buffer gets nothing.
void write_answer(char* data, std::string_view answer) noexcept;

// Runs one command: body(input) returns the answer, a std::string or any
// text that converts to std::string_view (so that a short answer can be built
// without the heap). Anything thrown inside (a failed allocation, say)
// answers "error".
template <typename Body>
int run_command(char* data, Body&& body) noexcept {
  try {
    const std::string input = read_input(data);
    const auto answer = body(input);
    write_answer(data, answer);
  } catch (...) {
    write_answer(data, kError);
  }
  return kResultInDataBuffer;
}

// A result word for a truth value.
inline std::string true_or_false(bool value) { return std::string(value ? kTrue : kFalse); }

}  // namespace toolcase
