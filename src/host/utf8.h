// UTF-8, the text of every Unicode host, and the UTF-16 of the platform's
// wide calls. Pure rules on bounded texts: the platform is not asked.
#pragma once

#include <cstddef>
#include <span>
#include <string_view>

#include "host/bounded_text.h"

namespace toolcase::utf8 {

// Well-formed UTF-8 as RFC 3629 defines it: no overlong form, no encoded
// surrogate, nothing above U+10FFFF, no stray or missing continuation byte.
// Plain ASCII is well-formed.
bool is_well_formed(std::string_view text) noexcept;

// The text less a last character that a length limit cut short: the lead
// byte and the continuation bytes of an incomplete sequence at the end.
std::string_view without_cut_character(std::string_view text) noexcept;

// The number of characters of well-formed text.
std::size_t character_count(std::string_view text) noexcept;

// Well-formed text less its first `count` characters ("" when it has fewer).
std::string_view after_characters(std::string_view text, std::size_t count) noexcept;

// Decodes well-formed text into UTF-16 units followed by a NUL; a character
// that would not fit before the NUL is left out with everything after it.
// The number of units written, NUL not counted. `units` must not be empty.
// Unit is char16_t, or wchar_t where that is 16 bits wide (Windows).
template <typename Unit>
std::size_t to_utf16(std::string_view text, std::span<Unit> units) noexcept;

// Appends UTF-16 units as UTF-8; a character that does not fit is dropped
// whole, with everything after it. A high surrogate that ends the units is
// half of a pair that a limit cut, and is dropped; any other unpaired
// surrogate becomes U+FFFD.
template <std::size_t Capacity, typename Unit>
void append_utf16(BoundedText<Capacity>& text, std::basic_string_view<Unit> units) noexcept;

namespace detail {

struct Decoded {
  char32_t code;       // U+FFFD for a byte that starts no well-formed sequence
  std::size_t length;  // bytes taken, 1 for such a byte
};
Decoded decode_at(std::string_view text, std::size_t at) noexcept;

// The UTF-8 bytes of a code point into bytes (room for 4); their number.
std::size_t encode(char32_t code, char* bytes) noexcept;

constexpr bool is_high_surrogate(char32_t unit) { return unit >= 0xD800 && unit <= 0xDBFF; }
constexpr bool is_low_surrogate(char32_t unit) { return unit >= 0xDC00 && unit <= 0xDFFF; }

}  // namespace detail

template <typename Unit>
std::size_t to_utf16(std::string_view text, std::span<Unit> units) noexcept {
  static_assert(sizeof(Unit) == 2, "UTF-16 units");
  const std::size_t room = units.size() - 1;  // before the NUL
  std::size_t written = 0;
  for (std::size_t at = 0; at < text.size();) {
    const detail::Decoded decoded = detail::decode_at(text, at);
    at += decoded.length;
    if (decoded.code < 0x10000) {
      if (written + 1 > room) break;
      units[written++] = static_cast<Unit>(decoded.code);
    } else {
      if (written + 2 > room) break;
      const char32_t offset = decoded.code - 0x10000;
      units[written++] = static_cast<Unit>(0xD800 + (offset >> 10));
      units[written++] = static_cast<Unit>(0xDC00 + (offset & 0x3FF));
    }
  }
  units[written] = Unit{0};
  return written;
}

template <std::size_t Capacity, typename Unit>
void append_utf16(BoundedText<Capacity>& text, std::basic_string_view<Unit> units) noexcept {
  static_assert(sizeof(Unit) == 2, "UTF-16 units");
  for (std::size_t at = 0; at < units.size();) {
    const char32_t unit = static_cast<char16_t>(units[at]);
    char32_t code = unit;
    std::size_t used = 1;
    if (detail::is_high_surrogate(unit)) {
      if (at + 1 == units.size()) return;
      const char32_t next = static_cast<char16_t>(units[at + 1]);
      if (detail::is_low_surrogate(next)) {
        code = 0x10000 + ((unit - 0xD800) << 10) + (next - 0xDC00);
        used = 2;
      } else {
        code = 0xFFFD;
      }
    } else if (detail::is_low_surrogate(unit)) {
      code = 0xFFFD;
    }
    char bytes[4];
    const std::size_t byte_count = detail::encode(code, bytes);
    if (text.size() + byte_count > Capacity) return;
    text.append(std::string_view(bytes, byte_count));
    at += used;
  }
}

}  // namespace toolcase::utf8
