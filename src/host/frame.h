// The boundary with the host: every command reads the data buffer once,
// computes one answer and writes it through one bounded write.
#pragma once

#include <cstddef>
#include <string_view>

#include "host/bounded_text.h"

namespace toolcase {

// Every command returns this: the data buffer now holds the result.
inline constexpr int kResultInDataBuffer = 3;

inline constexpr std::string_view kTrue = "true";
inline constexpr std::string_view kFalse = "false";
inline constexpr std::string_view kError = "error";

// The buffer's bytes up to the first NUL; a null pointer reads as "".
// Never reads more than the host's buffer size.
Text read_input(const char* data) noexcept;

// Copies the answer and its NUL over the start of the buffer, cut to 899
// bytes; bytes after that NUL stay as they were. A null buffer gets nothing.
void write_answer(char* data, std::string_view answer) noexcept;

// Runs one command: body(input) returns the answer, any text that views as
// std::string_view (a constant word or a Text built in place).
template <typename Body>
int run_command(char* data, Body&& body) noexcept {
  const Text input = read_input(data);
  write_answer(data, body(input));
  return kResultInDataBuffer;
}

// A result word for a truth value.
constexpr std::string_view true_or_false(bool value) { return value ? kTrue : kFalse; }

}  // namespace toolcase
