// Texts on their way to and from the platform: a UTF-8 call's through the
// wide calls, an ANSI call's through the ANSI ones.
#pragma once

#include <windows.h>

#include <array>
#include <cstddef>
#include <span>
#include <string_view>

#include "host/bounded_text.h"
#include "host/frame.h"
#include "host/utf8.h"

namespace toolcase {

static_assert(sizeof(wchar_t) == 2, "the platform's wide characters are UTF-16 units");

// The NUL-terminated UTF-16 form of a UTF-8 text. No text of the host's
// buffer needs more units than it has bytes.
class WideText {
 public:
  explicit WideText(std::string_view text) noexcept {
    utf8::to_utf16(text, std::span<wchar_t>(units_));
  }
  WideText(const WideText&) = delete;
  WideText& operator=(const WideText&) = delete;

  const wchar_t* c_str() const noexcept { return units_.data(); }

 private:
  std::array<wchar_t, kDataBufferSize> units_;
};

// The text the platform wrote into a buffer: its bytes up to the first NUL,
// or all of them; from a wide buffer, as UTF-8.
Text text_from_ansi(std::span<const char> buffer) noexcept;
Text text_from_wide(std::span<const wchar_t> buffer) noexcept;
// A text the platform answered wide, in the call's encoding: UTF-8, or the
// system's code page, cut to max_ansi_bytes but never inside a character.
Text text_in_encoding(std::wstring_view text, TextEncoding encoding,
                      std::size_t max_ansi_bytes = Text::kCapacity) noexcept;

}  // namespace toolcase
