#include "host/utf8.h"

namespace toolcase::utf8 {

namespace {

constexpr char32_t kReplacement = 0xFFFD;

unsigned char byte_at(std::string_view text, std::size_t at) {
  return static_cast<unsigned char>(text[at]);
}

bool is_continuation(unsigned char byte) { return (byte & 0xC0) == 0x80; }

// The length of the sequence that a lead byte starts, 0 for a byte that
// starts none (a continuation byte, C0, C1, F5..FF).
std::size_t sequence_length(unsigned char lead) {
  if (lead < 0x80) return 1;
  if (lead >= 0xC2 && lead <= 0xDF) return 2;
  if (lead >= 0xE0 && lead <= 0xEF) return 3;
  if (lead >= 0xF0 && lead <= 0xF4) return 4;
  return 0;
}

// The range the byte after a lead byte must lie in: narrower than 80..BF
// after E0 (overlong), ED (surrogates), F0 (overlong) and F4 (above 10FFFF).
bool second_byte_fits(unsigned char lead, unsigned char second) {
  switch (lead) {
    case 0xE0: return second >= 0xA0 && second <= 0xBF;
    case 0xED: return second >= 0x80 && second <= 0x9F;
    case 0xF0: return second >= 0x90 && second <= 0xBF;
    case 0xF4: return second >= 0x80 && second <= 0x8F;
    default: return is_continuation(second);
  }
}

// The length of the well-formed sequence at text[at], 0 when there is none
// (also when the text ends inside it).
std::size_t well_formed_length(std::string_view text, std::size_t at) {
  const unsigned char lead = byte_at(text, at);
  const std::size_t length = sequence_length(lead);
  if (length <= 1) return length;
  if (at + length > text.size() || !second_byte_fits(lead, byte_at(text, at + 1))) return 0;
  for (std::size_t i = 2; i < length; ++i) {
    if (!is_continuation(byte_at(text, at + i))) return 0;
  }
  return length;
}

}  // namespace

bool is_well_formed(std::string_view text) noexcept {
  for (std::size_t at = 0; at < text.size();) {
    const std::size_t length = well_formed_length(text, at);
    if (length == 0) return false;
    at += length;
  }
  return true;
}

std::string_view without_cut_character(std::string_view text) noexcept {
  // A cut character is at most 3 bytes: a lead byte and up to 2 continuations.
  std::size_t start = text.size();
  while (start > 0 && text.size() - start < 3 && is_continuation(byte_at(text, start - 1))) --start;
  if (start == 0) return text;
  const std::size_t lead_at = start - 1;
  const std::size_t length = sequence_length(byte_at(text, lead_at));
  if (length > 1 && lead_at + length > text.size()) text.remove_suffix(text.size() - lead_at);
  return text;
}

std::size_t character_count(std::string_view text) noexcept {
  std::size_t count = 0;
  for (char c : text) count += !is_continuation(static_cast<unsigned char>(c));
  return count;
}

std::string_view after_characters(std::string_view text, std::size_t count) noexcept {
  std::size_t at = 0;
  for (; count > 0 && at < text.size(); --count) {
    ++at;
    while (at < text.size() && is_continuation(byte_at(text, at))) ++at;
  }
  text.remove_prefix(at);
  return text;
}

namespace detail {

Decoded decode_at(std::string_view text, std::size_t at) noexcept {
  const std::size_t length = well_formed_length(text, at);
  if (length == 0) return {kReplacement, 1};
  const unsigned char lead = byte_at(text, at);
  char32_t code = length == 1 ? lead : lead & (0x7F >> length);
  for (std::size_t i = 1; i < length; ++i) code = (code << 6) | (byte_at(text, at + i) & 0x3F);
  return {code, length};
}

std::size_t encode(char32_t code, char* bytes) noexcept {
  if (code < 0x80) {
    bytes[0] = static_cast<char>(code);
    return 1;
  }
  if (code < 0x800) {
    bytes[0] = static_cast<char>(0xC0 | (code >> 6));
    bytes[1] = static_cast<char>(0x80 | (code & 0x3F));
    return 2;
  }
  if (code < 0x10000) {
    bytes[0] = static_cast<char>(0xE0 | (code >> 12));
    bytes[1] = static_cast<char>(0x80 | ((code >> 6) & 0x3F));
    bytes[2] = static_cast<char>(0x80 | (code & 0x3F));
    return 3;
  }
  bytes[0] = static_cast<char>(0xF0 | (code >> 18));
  bytes[1] = static_cast<char>(0x80 | ((code >> 12) & 0x3F));
  bytes[2] = static_cast<char>(0x80 | ((code >> 6) & 0x3F));
  bytes[3] = static_cast<char>(0x80 | (code & 0x3F));
  return 4;
}

}  // namespace detail

}  // namespace toolcase::utf8
