// Rebuilding a path from the names the file system stores, one component at a
// time. The file system is reached only through the look-up passed in, so the
// rebuilding itself runs anywhere.
#pragma once

#include <cstddef>
#include <string_view>
#include <utility>

#include "host/bounded_text.h"

namespace toolcase::sysinfo {

// stored_name(pattern) gives, for a search pattern (a Text), the stored name
// of the first entry it finds, or the name to put in its place ("" when
// there is no such entry).
//
// The first component (up to and including the first "\") stays as written;
// each further component becomes the name found for the path as written up to
// and including it. Nothing found contributes an empty name, and each "\" of
// the input after the first component is kept, so "C:\NOSUCH\x" gives "C:\\".
// Only "\" separates; "/" is part of a name. A result longer than a Text is
// cut there, as the host's buffer would cut it.
template <typename StoredNameLookup>
Text expand_long_path(std::string_view path, StoredNameLookup&& stored_name) {
  constexpr char kSeparator = '\\';

  // The look-up pattern is always the caller's own text, never the names found.
  const std::size_t first = path.find(kSeparator);
  const std::size_t first_length = first == std::string_view::npos ? 0 : first + 1;
  Text pattern(std::string_view(path.data(), first_length));
  Text rebuilt = pattern;
  std::string_view rest = path;
  rest.remove_prefix(first_length);

  for (std::size_t next; (next = rest.find(kSeparator)) != std::string_view::npos;) {
    pattern.append(std::string_view(rest.data(), next));
    rest.remove_prefix(next + 1);
    rebuilt.append(stored_name(std::as_const(pattern)));
    rebuilt.push_back(kSeparator);
    pattern.push_back(kSeparator);
  }
  // The last component, empty when the path ends in "\": that pattern finds
  // nothing, so a final "\" survives.
  pattern.append(rest);
  rebuilt.append(stored_name(std::as_const(pattern)));
  return rebuilt;
}

}  // namespace toolcase::sysinfo
