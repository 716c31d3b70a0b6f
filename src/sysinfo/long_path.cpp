#include "sysinfo/long_path.h"

#include <cstddef>

namespace toolcase::sysinfo {

std::string expand_long_path(std::string_view path, const StoredNameLookup& stored_name) {
  constexpr char kSeparator = '\\';

  // The look-up pattern is always the caller's own text, never the names found.
  const std::size_t first = path.find(kSeparator);
  const std::size_t first_length = first == std::string_view::npos ? 0 : first + 1;
  std::string pattern(path.substr(0, first_length));
  std::string rebuilt = pattern;
  std::string_view rest = path.substr(first_length);

  for (std::size_t next; (next = rest.find(kSeparator)) != std::string_view::npos;) {
    pattern.append(rest.substr(0, next));
    rest.remove_prefix(next + 1);
    rebuilt += stored_name(pattern);
    rebuilt += kSeparator;
    pattern += kSeparator;
  }
  // The last component, empty when the path ends in "\": that pattern finds
  // nothing, so a final "\" survives.
  pattern.append(rest);
  rebuilt += stored_name(pattern);
  return rebuilt;
}

}  // namespace toolcase::sysinfo
