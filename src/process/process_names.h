// Executable names as the process list reports them, and the rule by which a
// caller's name picks processes out of that list.
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string_view>

#include "host/bounded_text.h"

namespace toolcase::process {

// lead_bytes[b]: byte b starts a double-byte character in the code page.
using LeadByteTable = std::array<bool, 256>;

// How an executable name splits into folder and file name.
struct NameEncoding {
  LeadByteTable lead_bytes{};
  // Whether a '\' or ':' byte may be the second byte of a double-byte
  // character (and is then no separator).
  bool double_byte_rules = false;
};

// The table for a code page's lead-byte ranges: pairs of first and last byte,
// ended by a pair of zeros or by the end of the array.
LeadByteTable lead_byte_table(std::span<const unsigned char> ranges);

// The name held in a fixed-size field: its bytes up to the first NUL, all of
// them when the field holds no NUL.
std::string_view executable_name(std::span<const char> field);

// The bytes after the last '\' or ':'; the whole name when there is none, ""
// when the name ends with one. Under double-byte rules a separator byte that
// follows an odd run of lead bytes is the second byte of a character.
std::string_view file_name_part(std::string_view name, const NameEncoding& encoding);

// ASCII letters upper-cased, every other byte kept; under double-byte rules
// the byte after a lead byte too, as it is the second half of a character
// (in code page 932 "\x83\x61" is one character, "\x83\x41" another).
Text upper_name(std::string_view name, const NameEncoding& encoding);

// Whether a process of that executable name answers to the name under test
// (already upper-cased by upper_name): its file-name part or, failing that,
// its whole name, upper-cased the same way, equals it byte for byte.
bool name_matches(std::string_view executable_name, std::string_view name_under_test,
                  const NameEncoding& encoding);

// KillProcess's verdict: only the last termination request counts.
class TerminationStatus {
 public:
  // The platform's answer to one termination request as returned (0 for a
  // failure, also when the process could not be opened).
  void record(std::int32_t answer) noexcept { status_ = answer; }
  // A process matched and the last request succeeded.
  bool succeeded() const noexcept { return status_ != 0 && status_ != kNothingMatched; }

 private:
  static constexpr std::int32_t kNothingMatched = 5;
  std::int32_t status_ = kNothingMatched;
};

}  // namespace toolcase::process
