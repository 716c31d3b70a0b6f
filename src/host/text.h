// Text rules shared by every command. Positions are 1-based and counts signed,
// because the boundary rules below are defined in those terms.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>

#include "host/bounded_text.h"

namespace toolcase::text {

// 'A'..'Z' gain 0x20; every other byte, 0x80 and above included, stays.
Text to_lower_ascii(std::string_view text) noexcept;
// 'a'..'z' lose 0x20; every other byte stays.
Text to_upper_ascii(std::string_view text) noexcept;

// The input, ASCII-lower-cased, equals the lower-case keyword exactly:
// no trimming, no prefix match, no locale rules.
bool keyword_match(std::string_view input, std::string_view keyword) noexcept;

// A keyword and what it stands for.
template <typename Value>
struct Keyword {
  std::string_view word;
  Value value;
};

// The value of the first keyword the input matches (keyword_match); none when
// it matches none.
template <typename Value, std::size_t Count>
constexpr std::optional<Value> look_up(const std::array<Keyword<Value>, Count>& keywords,
                                       std::string_view input) noexcept {
  for (const Keyword<Value>& keyword : keywords) {
    if (keyword_match(input, keyword.word)) return keyword.value;
  }
  return std::nullopt;
}

// 1-based position of the first occurrence of pattern, 0 when it does not
// occur or when either text is empty.
int find_position(std::string_view text, std::string_view pattern) noexcept;

// count bytes from position index, as a view of the text: an index below 1
// counts as 1, an index past the end gives "", a negative count counts as 0,
// a count past the end stops at the end.
std::string_view copy_range(std::string_view text, int index, int count) noexcept;

// Deletes count bytes from position index; nothing happens when the index is
// below 1 or past the end or the count is 0 or less.
template <std::size_t Capacity>
void delete_range(BoundedText<Capacity>& text, int index, int count) noexcept {
  const auto size = static_cast<std::int64_t>(text.size());
  if (index < 1 || index > size || count <= 0) return;
  text.erase(static_cast<std::size_t>(index - 1), static_cast<std::size_t>(count));
}

// Signed decimal, a minus sign for negative values, no grouping.
using IntegerText = BoundedText<11>;
IntegerText integer_to_text(std::int32_t value) noexcept;
// Unsigned decimal: a window handle's low 32 bits or a process id as the
// watch events write them.
IntegerText id_to_text(std::uint32_t value) noexcept;

// A target named by a number after a prefix ("hwnd:123", "pid:4312"): the
// prefix in any ASCII letter case, then 1 to 4294967295 in decimal, with no
// sign, leading zero or blank.
struct PrefixedId {
  bool has_prefix;  // the text starts with the prefix
  std::uint32_t id;  // 0 when the number after it is malformed or out of range
};
PrefixedId parse_prefixed_id(std::string_view text, std::string_view lower_prefix) noexcept;

}  // namespace toolcase::text
