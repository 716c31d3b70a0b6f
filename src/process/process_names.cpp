#include "process/process_names.h"

#include <cstring>

namespace toolcase::process {

namespace {

bool is_separator(char c) { return c == '\\' || c == ':'; }

char upper_ascii(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 0x20) : c; }

bool is_lead_byte(const LeadByteTable& lead_bytes, char c) {
  return lead_bytes[static_cast<unsigned char>(c)];
}

// Calls visit(byte) with each byte of the name upper-cased by upper_name's
// rule; stops early when visit returns false.
template <typename Visit>
void for_each_upper(std::string_view name, const NameEncoding& encoding, Visit&& visit) {
  bool second_half = false;
  for (const char c : name) {
    if (!visit(second_half ? c : upper_ascii(c))) return;
    second_half =
        !second_half && encoding.double_byte_rules && is_lead_byte(encoding.lead_bytes, c);
  }
}

// Compared without a copy: the walk runs for every process on every call.
bool equals_upper(std::string_view name, std::string_view upper, const NameEncoding& encoding) {
  if (name.size() != upper.size()) return false;
  std::size_t at = 0;
  bool equal = true;
  for_each_upper(name, encoding, [&](char c) { return equal = c == upper[at++]; });
  return equal;
}

}  // namespace

LeadByteTable lead_byte_table(std::span<const unsigned char> ranges) {
  LeadByteTable table{};
  for (std::size_t i = 0; i + 1 < ranges.size(); i += 2) {
    const unsigned first = ranges[i];
    const unsigned last = ranges[i + 1];
    if (first == 0 && last == 0) break;
    for (unsigned b = first; b <= last; ++b) table[b] = true;
  }
  return table;
}

std::string_view executable_name(std::span<const char> field) {
  const void* nul = std::memchr(field.data(), '\0', field.size());
  const std::size_t length =
      nul ? static_cast<std::size_t>(static_cast<const char*>(nul) - field.data()) : field.size();
  return std::string_view(field.data(), length);
}

std::string_view file_name_part(std::string_view name, const NameEncoding& encoding) {
  std::size_t end = name.size();  // bytes [0, end) are still to be searched
  while (end > 0) {
    const std::size_t at = end - 1;
    if (!is_separator(name[at])) {
      end = at;
      continue;
    }
    if (encoding.double_byte_rules) {
      std::size_t leads = 0;
      while (leads < at && is_lead_byte(encoding.lead_bytes, name[at - 1 - leads])) ++leads;
      if (leads % 2 == 1) {
        // The second byte of a character: go on before its lead byte.
        end = at - 1;
        continue;
      }
    }
    name.remove_prefix(at + 1);
    return name;
  }
  return name;
}

Text upper_name(std::string_view name, const NameEncoding& encoding) {
  Text upper;
  for_each_upper(name, encoding, [&upper](char c) {
    upper.push_back(c);
    return true;
  });
  return upper;
}

bool name_matches(std::string_view executable_name, std::string_view name_under_test,
                  const NameEncoding& encoding) {
  return equals_upper(file_name_part(executable_name, encoding), name_under_test, encoding) ||
         equals_upper(executable_name, name_under_test, encoding);
}

}  // namespace toolcase::process
