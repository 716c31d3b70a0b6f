#include "host/text.h"

#include <algorithm>
#include <cstddef>

namespace toolcase::text {

Text to_lower_ascii(std::string_view text) noexcept {
  Text out;
  for (char c : text) out.push_back(c >= 'A' && c <= 'Z' ? static_cast<char>(c + 0x20) : c);
  return out;
}

Text to_upper_ascii(std::string_view text) noexcept {
  Text out;
  for (char c : text) out.push_back(c >= 'a' && c <= 'z' ? static_cast<char>(c - 0x20) : c);
  return out;
}

bool keyword_match(std::string_view input, std::string_view keyword) noexcept {
  if (input.size() != keyword.size()) return false;
  for (std::size_t i = 0; i < input.size(); ++i) {
    char c = input[i];
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c + 0x20);
    if (c != keyword[i]) return false;
  }
  return true;
}

int find_position(std::string_view text, std::string_view pattern) noexcept {
  if (text.empty() || pattern.empty()) return 0;
  const std::size_t at = text.find(pattern);
  return at == std::string_view::npos ? 0 : static_cast<int>(at) + 1;
}

std::string_view copy_range(std::string_view text, int index, int count) noexcept {
  const auto size = static_cast<std::int64_t>(text.size());
  const std::int64_t start = std::max<std::int64_t>(index, 1);
  if (start > size || count <= 0) return {};
  const std::int64_t length = std::min<std::int64_t>(count, size - start + 1);
  return std::string_view(text.data() + (start - 1), static_cast<std::size_t>(length));
}

IntegerText integer_to_text(std::int32_t value) noexcept {
  // Written from the right; the magnitude as unsigned, which holds that of
  // INT32_MIN too.
  char digits[IntegerText::kCapacity];
  char* start = digits + sizeof digits;
  std::uint32_t magnitude =
      value < 0 ? 0u - static_cast<std::uint32_t>(value) : static_cast<std::uint32_t>(value);
  do {
    *--start = static_cast<char>('0' + magnitude % 10);
    magnitude /= 10;
  } while (magnitude != 0);
  if (value < 0) *--start = '-';
  return IntegerText(std::string_view(start, static_cast<std::size_t>(digits + sizeof digits - start)));
}

}  // namespace toolcase::text
