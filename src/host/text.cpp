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

namespace {

// Written from the right.
IntegerText decimal_text(std::uint32_t magnitude, bool negative) {
  char digits[IntegerText::kCapacity];
  char* start = digits + sizeof digits;
  do {
    *--start = static_cast<char>('0' + magnitude % 10);
    magnitude /= 10;
  } while (magnitude != 0);
  if (negative) *--start = '-';
  return IntegerText(std::string_view(start, static_cast<std::size_t>(digits + sizeof digits - start)));
}

}  // namespace

IntegerText integer_to_text(std::int32_t value) noexcept {
  // The magnitude as unsigned, which holds that of INT32_MIN too.
  return decimal_text(
      value < 0 ? 0u - static_cast<std::uint32_t>(value) : static_cast<std::uint32_t>(value),
      value < 0);
}

IntegerText id_to_text(std::uint32_t value) noexcept { return decimal_text(value, false); }

PrefixedId parse_prefixed_id(std::string_view text, std::string_view lower_prefix) noexcept {
  const auto prefix_size = static_cast<int>(lower_prefix.size());
  if (!keyword_match(copy_range(text, 1, prefix_size), lower_prefix)) return {false, 0};
  const std::string_view digits = copy_range(text, prefix_size + 1, static_cast<int>(text.size()));
  if (digits.empty() || digits.size() > 10 || digits.front() == '0') return {true, 0};
  std::uint64_t value = 0;
  for (const char digit : digits) {
    if (digit < '0' || digit > '9') return {true, 0};
    value = value * 10 + static_cast<std::uint64_t>(digit - '0');
  }
  return {true, value <= UINT32_MAX ? static_cast<std::uint32_t>(value) : 0};
}

}  // namespace toolcase::text
