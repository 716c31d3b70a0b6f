// Executable names, lead-byte ranges and names under test with any bytes,
// under single- and double-byte rules.
#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

#include "fuzz_input.h"
#include "host/text.h"
#include "process/process_names.h"

using namespace toolcase;

namespace {

bool is_separator(char c) { return c == '\\' || c == ':'; }

// The lead bytes directly before position at.
std::size_t lead_run(std::string_view name, std::size_t at, const process::LeadByteTable& leads) {
  std::size_t run = 0;
  while (run < at && leads[static_cast<unsigned char>(name[at - 1 - run])]) ++run;
  return run;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  fuzz::Input input(data, size);
  const std::int32_t flags = input.next_int();
  std::array<std::int32_t, 2> packed_ranges{input.next_int(), input.next_int()};
  std::array<unsigned char, sizeof packed_ranges> ranges;
  std::memcpy(ranges.data(), packed_ranges.data(), ranges.size());
  const std::string raw_name_under_test = input.next_text();
  const std::string name = input.rest();

  process::NameEncoding encoding{process::lead_byte_table(ranges), (flags & 1) != 0};
  const Text name_under_test = process::upper_name(raw_name_under_test, encoding);
  for (unsigned b = 0; b < 256; ++b) {
    bool in_range = false;
    for (std::size_t i = 0; i < ranges.size() && (ranges[i] | ranges[i + 1]) != 0; i += 2) {
      in_range = in_range || (ranges[i] <= b && b <= ranges[i + 1]);
    }
    FUZZ_CHECK(encoding.lead_bytes[b] == in_range);
  }

  // The field is exactly as long as the platform's; ASan stops any read past it.
  std::vector<char> field(260, static_cast<char>(flags >> 8));
  std::memcpy(field.data(), name.data(), std::min(name.size(), field.size()));
  const std::string_view executable = process::executable_name(field);
  FUZZ_CHECK(executable.data() == field.data() && executable.size() <= field.size());
  FUZZ_CHECK(executable.find('\0') == executable.npos);
  FUZZ_CHECK(executable.size() == field.size() || field[executable.size()] == '\0');

  const std::string_view part = process::file_name_part(name, encoding);
  const std::size_t start = name.size() - part.size();
  FUZZ_CHECK(part.size() <= name.size() && part.data() == name.data() + start);
  if (start > 0) {
    FUZZ_CHECK(is_separator(name[start - 1]));
    if (encoding.double_byte_rules) {
      FUZZ_CHECK(lead_run(name, start - 1, encoding.lead_bytes) % 2 == 0);
    }
  }
  const bool single_byte =
      !encoding.double_byte_rules || encoding.lead_bytes == process::LeadByteTable{};
  if (single_byte) FUZZ_CHECK(start == name.find_last_of("\\:") + 1);
  // Every separator kept in the part is the second byte of a character (as
  // long as no separator byte is itself a lead byte, which no code page has).
  if (!encoding.lead_bytes['\\'] && !encoding.lead_bytes[':']) {
    for (std::size_t i = start; i < name.size(); ++i) {
      if (is_separator(name[i])) FUZZ_CHECK(lead_run(name, i, encoding.lead_bytes) % 2 == 1);
    }
  }

  const Text upper_part =
      process::upper_name(process::file_name_part(executable, encoding), encoding);
  const Text upper_executable = process::upper_name(executable, encoding);
  FUZZ_CHECK(process::name_matches(executable, name_under_test, encoding) ==
             (upper_part == name_under_test || upper_executable == name_under_test));
  FUZZ_CHECK(process::name_matches(executable, upper_executable, encoding));
  FUZZ_CHECK(process::name_matches(executable, upper_part, encoding));
  return 0;
}
