#include "host/wide_text.h"

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

Text text_in_encoding(std::wstring_view text, TextEncoding encoding) noexcept {
  if (encoding == TextEncoding::utf8) return text_from_wide(text);
  std::array<char, Text::kCapacity> bytes;
  const int written =
      text.empty() ? 0
                   : WideCharToMultiByte(CP_ACP, 0, text.data(), static_cast<int>(text.size()),
                                         bytes.data(), static_cast<int>(bytes.size()), nullptr,
                                         nullptr);
  return Text(std::string_view(bytes.data(), static_cast<std::size_t>(written > 0 ? written : 0)));
}

}  // namespace toolcase
