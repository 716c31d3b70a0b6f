#include "host/wide_text.h"

#include <algorithm>
#include <cstring>
#include <cwchar>

namespace toolcase {

Text text_from_ansi(std::span<const char> buffer) noexcept {
  return Text(std::string_view(buffer.data(), strnlen(buffer.data(), buffer.size())));
}

Text text_from_wide(std::span<const wchar_t> buffer) noexcept {
  Text text;
  utf8::append_utf16(text, std::wstring_view(buffer.data(), wcsnlen(buffer.data(), buffer.size())));
  return text;
}

Text text_in_encoding(std::wstring_view text, TextEncoding encoding,
                      std::size_t max_ansi_bytes) noexcept {
  if (encoding == TextEncoding::utf8) return text_from_wide(text);
  std::array<char, Text::kCapacity> bytes;
  const int room = static_cast<int>(std::min(max_ansi_bytes, bytes.size()));
  // The conversion fails when the text does not fit: one character less each time.
  int units = static_cast<int>(text.size());
  int written = 0;
  while (units > 0 && (written = WideCharToMultiByte(CP_ACP, 0, text.data(), units, bytes.data(),
                                                     room, nullptr, nullptr)) == 0) {
    --units;
    if (units > 0 && IS_HIGH_SURROGATE(text[static_cast<std::size_t>(units) - 1])) --units;
  }
  return Text(std::string_view(bytes.data(), static_cast<std::size_t>(written)));
}

}  // namespace toolcase
