// The pattern of WindowFind: '*' stands for any run of characters (also
// none), '?' for exactly one, every other unit for itself. Pure rules on
// UTF-16 texts that the platform has already folded to one case.
#pragma once

#include <cstddef>
#include <string_view>

namespace toolcase::window {

namespace detail {

// Units of the character at `at`: 2 for a surrogate pair, else 1.
template <typename Unit>
std::size_t character_length(std::basic_string_view<Unit> text, std::size_t at) {
  const auto unit = static_cast<char16_t>(text[at]);
  const bool pair = unit >= 0xD800 && unit <= 0xDBFF && at + 1 < text.size() &&
                    static_cast<char16_t>(text[at + 1]) >= 0xDC00 &&
                    static_cast<char16_t>(text[at + 1]) <= 0xDFFF;
  return pair ? 2 : 1;
}

}  // namespace detail

// Whether the whole title matches the whole pattern. A '*' first takes
// nothing and, each time the rest fails, one character more; only the last
// '*' seen needs to take more, since a later one can take whatever an
// earlier one would have. So the work is at most title times pattern length.
// Unit is wchar_t on Windows, char16_t where that is 32 bits wide.
template <typename Unit>
bool title_matches(std::basic_string_view<Unit> title, std::basic_string_view<Unit> pattern) {
  constexpr std::size_t kNoStar = std::basic_string_view<Unit>::npos;
  std::size_t at = 0;
  std::size_t next = 0;  // in the pattern
  std::size_t after_star = kNoStar;
  std::size_t star_took_until = 0;
  while (at < title.size()) {
    if (next < pattern.size() && pattern[next] == Unit('*')) {
      after_star = ++next;
      star_took_until = at;
    } else if (next < pattern.size() && pattern[next] == Unit('?')) {
      at += detail::character_length(title, at);
      ++next;
    } else if (next < pattern.size() && pattern[next] == title[at]) {
      ++at;
      ++next;
    } else if (after_star != kNoStar) {
      star_took_until += detail::character_length(title, star_took_until);
      at = star_took_until;
      next = after_star;
    } else {
      return false;
    }
  }
  while (next < pattern.size() && pattern[next] == Unit('*')) ++next;
  return next == pattern.size();
}

}  // namespace toolcase::window
