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

}  // namespace toolcase
