// Long-path expansion of any path over a fake file system: one that answers
// from a small fuzzed table of names, and one that stores every name as written.
#include <cstdint>
#include <string>
#include <vector>

#include "fuzz_input.h"
#include "sysinfo/long_path.h"

using namespace toolcase;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  fuzz::Input input(data, size);
  // Names separated by "|"; a pattern whose length points past them finds nothing.
  std::vector<std::string> names(1);
  for (const char c : input.next_text()) {
    if (c == '|') {
      names.emplace_back();
    } else {
      names.back() += c;
    }
  }
  // The host hands over at most 899 bytes.
  const std::string path = input.rest().substr(0, kDataBufferSize - 1);

  std::vector<std::string> patterns;
  std::vector<std::string> answers;
  const std::string rebuilt(sysinfo::expand_long_path(path, [&](std::string_view pattern) {
    patterns.emplace_back(pattern);
    const std::size_t pick = pattern.size() % (names.size() + 1);
    answers.push_back(pick < names.size() ? names[pick] : "");
    return answers.back();
  }).view());

  const std::size_t first = path.find('\\');
  const std::size_t first_length = first == std::string::npos ? 0 : first + 1;
  std::size_t later_separators = 0;
  for (std::size_t i = first_length; i < path.size(); ++i) later_separators += path[i] == '\\';
  FUZZ_CHECK(patterns.size() == later_separators + 1);

  // Each pattern is the path as written up to a later "\", the last the whole
  // path; the result is the first component and the names found, joined by "\".
  std::string expected = path.substr(0, first_length);
  for (std::size_t i = 0; i < patterns.size(); ++i) {
    const bool last = i + 1 == patterns.size();
    FUZZ_CHECK(path.starts_with(patterns[i]) && patterns[i].size() >= first_length);
    FUZZ_CHECK(last ? patterns[i] == path : path[patterns[i].size()] == '\\');
    if (i > 0) FUZZ_CHECK(patterns[i].size() > patterns[i - 1].size());
    expected += answers[i];
    if (!last) expected += '\\';
  }
  FUZZ_CHECK(rebuilt == expected.substr(0, kDataBufferSize - 1));

  // A file system that stores every name as written gives the path back.
  const std::string same(sysinfo::expand_long_path(path, [](std::string_view pattern) {
    const std::size_t separator = pattern.rfind('\\');
    return separator == std::string_view::npos ? pattern : pattern.substr(separator + 1);
  }).view());
  FUZZ_CHECK(same == path);
  return 0;
}
