#include "host/text.h"

#include <algorithm>
#include <cstddef>

namespace toolcase::text {

std::string to_lower_ascii(std::string_view text) {
  std::string out(text);
  for (char& c : out) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c + 0x20);
  }
  return out;
}

std::string to_upper_ascii(std::string_view text) {
  std::string out(text);
  for (char& c : out) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 0x20);
  }
  return out;
}

bool keyword_match(std::string_view input, std::string_view keyword) {
  if (input.size() != keyword.size()) return false;
  for (std::size_t i = 0; i < input.size(); ++i) {
    char c = input[i];
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c + 0x20);
    if (c != keyword[i]) return false;
  }
  return true;
}

int find_position(std::string_view text, std::string_view pattern) {
  if (text.empty() || pattern.empty()) return 0;
  const std::size_t at = text.find(pattern);
  return at == std::string_view::npos ? 0 : static_cast<int>(at) + 1;
}

std::string copy_range(std::string_view text, int index, int count) {
  const std::int64_t size = static_cast<std::int64_t>(text.size());
  const std::int64_t start = std::max<std::int64_t>(index, 1);
  if (start > size || count <= 0) return {};
  const std::int64_t length = std::min<std::int64_t>(count, size - start + 1);
  return std::string(text.substr(static_cast<std::size_t>(start - 1), static_cast<std::size_t>(length)));
}

void delete_range(std::string& text, int index, int count) {
  const std::int64_t size = static_cast<std::int64_t>(text.size());
  if (index < 1 || index > size || count <= 0) return;
  const std::int64_t length = std::min<std::int64_t>(count, size - index + 1);
  text.erase(static_cast<std::size_t>(index - 1), static_cast<std::size_t>(length));
}

std::string integer_to_text(std::int32_t value) { return std::to_string(value); }

}  // namespace toolcase::text
