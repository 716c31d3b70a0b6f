// Texts of a UTF-8 call on their way to and from the platform's wide calls.
#pragma once

#include <windows.h>

#include <array>
#include <cstddef>
#include <cwchar>
#include <span>
#include <string_view>

#include "host/bounded_text.h"
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

// The UTF-8 text of what the platform wrote into a wide buffer: its units up
// to the first NUL, or all of them.
template <std::size_t Capacity>
BoundedText<Capacity> utf8_from_wide(std::span<const wchar_t> buffer) noexcept {
  BoundedText<Capacity> text;
  utf8::append_utf16(text, std::wstring_view(buffer.data(), wcsnlen(buffer.data(), buffer.size())));
  return text;
}

// Room for the UTF-8 form of up to `units` UTF-16 units: 3 bytes per unit
// (a pair of units is one 4-byte character).
constexpr std::size_t utf8_capacity(std::size_t units) { return 3 * units; }

}  // namespace toolcase
