// Rebuilding a path from the names the file system stores, one component at a
// time. The file system is reached only through the look-up passed in, so the
// rebuilding itself runs anywhere.
#pragma once

#include <functional>
#include <string>
#include <string_view>

namespace toolcase::sysinfo {

// Given a search pattern, the stored name of the first entry it finds, or ""
// when it finds none.
using StoredNameLookup = std::function<std::string(const std::string& pattern)>;

// The first component (up to and including the first "\") stays as written;
// each further component becomes the name found for the path as written up to
// and including it. Nothing found contributes an empty name, and each "\" of
// the input after the first component is kept, so "C:\NOSUCH\x" gives "C:\\".
// Only "\" separates; "/" is part of a name.
std::string expand_long_path(std::string_view path, const StoredNameLookup& stored_name);

}  // namespace toolcase::sysinfo
