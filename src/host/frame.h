// The boundary with the host: every command reads the data buffer once,
// computes one answer and writes it through one bounded write.
#pragma once

#include <cstddef>
#include <string_view>

#include "host/bounded_text.h"
#include "host/utf8.h"

namespace toolcase {

// Every command returns this: the data buffer now holds the result.
inline constexpr int kResultInDataBuffer = 3;

// The words' bytes are inline variables, so the linker keeps one copy of each
// for the whole DLL rather than one per source file that answers with it.
inline constexpr char kTrueWord[] = "true";
inline constexpr char kFalseWord[] = "false";
inline constexpr char kErrorWord[] = "error";
inline constexpr std::string_view kTrue = kTrueWord;
inline constexpr std::string_view kFalse = kFalseWord;
inline constexpr std::string_view kError = kErrorWord;

// The buffer's bytes up to the first NUL; a null pointer reads as "".
// Never reads more than the host's buffer size.
Text read_input(const char* data) noexcept;

// How a call's texts are encoded, in its input, in its answer and wherever
// it hands text to the platform or reads text from it.
enum class TextEncoding {
  ansi,  // the system's ANSI code page, through the platform's ANSI calls
  utf8,  // UTF-8, through the platform's wide calls
};

// A Unicode host (mIRC 7 and later) hands its text over as UTF-8. A call is
// a UTF-8 call when its text is well-formed UTF-8, less a last character
// that the buffer's end cut (which is then dropped from the input), and
// is_unicode_host() says so; that is asked last, as it costs a platform
// call. Every other call is an ANSI call, as with older hosts.
template <typename IsUnicodeHost>
TextEncoding choose_encoding(Text& input, IsUnicodeHost&& is_unicode_host) noexcept {
  // Only a full buffer can have cut a character.
  const std::string_view text =
      input.size() == Text::kCapacity ? utf8::without_cut_character(input) : input.view();
  if (!utf8::is_well_formed(text) || !is_unicode_host()) return TextEncoding::ansi;
  input.erase(text.size(), input.size() - text.size());
  return TextEncoding::utf8;
}

// Copies the answer and its NUL over the start of the buffer, cut to 899
// bytes, in a UTF-8 call never inside a character; bytes after that NUL stay
// as they were. A null buffer gets nothing.
void write_answer(char* data, std::string_view answer,
                  TextEncoding encoding = TextEncoding::ansi) noexcept;

// Runs one command: body(input) returns the answer, any text that views as
// std::string_view (a constant word or a Text built in place). Inlined into
// the command's export, so that each command is one function.
template <typename Body>
[[gnu::always_inline]] inline int run_command(char* data, Body&& body) noexcept {
  const Text input = read_input(data);
  write_answer(data, body(input));
  return kResultInDataBuffer;
}

// A result word for a truth value.
constexpr std::string_view true_or_false(bool value) { return value ? kTrue : kFalse; }

}  // namespace toolcase
