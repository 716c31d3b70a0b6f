// Text rules shared by every command. Positions are 1-based and counts signed,
// because the boundary rules below are defined in those terms.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace toolcase::text {

// 'A'..'Z' gain 0x20; every other byte, 0x80 and above included, stays.
std::string to_lower_ascii(std::string_view text);
// 'a'..'z' lose 0x20; every other byte stays.
std::string to_upper_ascii(std::string_view text);

// The input, ASCII-lower-cased, equals the lower-case keyword exactly:
// no trimming, no prefix match, no locale rules.
bool keyword_match(std::string_view input, std::string_view keyword);

// 1-based position of the first occurrence of pattern, 0 when it does not
// occur or when either text is empty.
int find_position(std::string_view text, std::string_view pattern);

// count bytes from position index: an index below 1 counts as 1, an index
// past the end gives "", a negative count counts as 0, a count past the end
// stops at the end.
std::string copy_range(std::string_view text, int index, int count);

// Deletes count bytes from position index; nothing happens when the index is
// below 1 or past the end or the count is 0 or less.
void delete_range(std::string& text, int index, int count);

// Signed decimal, a minus sign for negative values, no grouping.
std::string integer_to_text(std::int32_t value);

}  // namespace toolcase::text
