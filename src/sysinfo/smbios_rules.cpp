#include "sysinfo/smbios_rules.h"

#include <array>
#include <cstdint>
#include <string_view>

#include "host/text.h"

namespace toolcase::sysinfo {

namespace {

constexpr std::size_t kRawHeaderSize = 8;  // the calling method, versions, the table's length
constexpr std::size_t kStructureHeaderSize = 4;  // type, formatted length, handle
constexpr unsigned char kEndOfTable = 127;

// Compared whole, after trimming, in any ASCII letter case.
constexpr std::array<std::string_view, 17> kPlaceholders{
    "to be filled by o.e.m.", "to be filled by oem",    "default string",
    "system manufacturer",    "system product name",    "system version",
    "base board manufacturer", "base board product name", "not applicable",
    "not specified",          "none",                   "o.e.m.",
    "oem",                    "type1productconfigid",   "type2 - board manufacturer",
    "type2 - board product name", ""};

// One structure: its formatted part and the strings that follow it.
struct Structure {
  std::span<const unsigned char> formatted;
  std::span<const unsigned char> strings;  // up to the end of the table when it has no double NUL
};

// The structure at `at` and where the next one starts; false at the end:
// a structure shorter than its own header, or longer than what is left.
bool structure_at(std::span<const unsigned char> table, std::size_t& at, Structure& structure) {
  if (table.size() - at < kStructureHeaderSize) return false;
  const std::size_t length = table[at + 1];
  if (length < kStructureHeaderSize || length > table.size() - at) return false;
  structure.formatted = table.subspan(at, length);
  const std::span<const unsigned char> rest = table.subspan(at + length);
  // The strings end with an empty one: two NULs in a row (a structure
  // without strings has just those two).
  std::size_t end = 0;
  while (end + 1 < rest.size() && !(rest[end] == 0 && rest[end + 1] == 0)) ++end;
  if (end + 1 >= rest.size()) {
    structure.strings = rest;
    at = table.size();
    return true;
  }
  structure.strings = rest.first(end + 1);
  at += length + end + 2;
  return true;
}

// The string that the byte at `offset` of the formatted part numbers (from
// 1); empty when the offset lies outside it, the number is 0 or beyond the
// strings, or the string runs to the table's end without its NUL.
std::string_view string_at(const Structure& structure, std::size_t offset) {
  if (offset >= structure.formatted.size()) return {};
  std::size_t number = structure.formatted[offset];
  const auto* text = reinterpret_cast<const char*>(structure.strings.data());
  const std::string_view strings(text, structure.strings.size());
  for (std::size_t start = 0; number > 0 && start < strings.size(); --number) {
    const std::size_t nul = strings.find('\0', start);
    if (nul == strings.npos) return {};
    if (number == 1) return std::string_view(text + start, nul - start);
    if (nul == start) return {};  // the empty string that ends them
    start = nul + 1;
  }
  return {};
}

// The name as a line shows it; empty for a placeholder.
Text cleaned(std::string_view name) {
  Text text;
  for (const char byte : name) {
    const auto value = static_cast<unsigned char>(byte);
    text.push_back(value < 0x20 || value == 0x7F ? ' ' : byte);
  }
  const std::string_view trimmed = [&] {
    const std::string_view whole = text.view();
    const std::size_t first = whole.find_first_not_of(' ');
    if (first == whole.npos) return std::string_view();
    return std::string_view(whole.data() + first, whole.find_last_not_of(' ') - first + 1);
  }();
  for (const std::string_view placeholder : kPlaceholders) {
    if (text::keyword_match(trimmed, placeholder)) return Text();
  }
  return Text(trimmed);
}

}  // namespace

Text firmware_names(std::span<const unsigned char> table, FirmwarePart part) noexcept {
  if (table.size() < kRawHeaderSize) return Text();
  const std::uint32_t stated = table[4] | table[5] << 8 | table[6] << 16 | static_cast<std::uint32_t>(table[7]) << 24;
  table = table.subspan(kRawHeaderSize);
  if (stated < table.size()) table = table.first(stated);

  const unsigned char wanted = part == FirmwarePart::bios ? 0 : part == FirmwarePart::system ? 1 : 2;
  // The fields' offsets in the structure: BIOS vendor, version and release
  // date; system maker and product name; board maker and product.
  static constexpr std::array<std::size_t, 3> kBiosFields{4, 5, 8};
  static constexpr std::array<std::size_t, 2> kMakerAndProduct{4, 5};
  const std::span<const std::size_t> fields =
      part == FirmwarePart::bios ? std::span<const std::size_t>(kBiosFields) : std::span<const std::size_t>(kMakerAndProduct);

  Structure structure;
  for (std::size_t at = 0; structure_at(table, at, structure);) {
    const unsigned char type = structure.formatted[0];
    if (type == kEndOfTable) break;
    if (type != wanted) continue;
    Text names;
    for (const std::size_t field : fields) {
      const Text name = cleaned(string_at(structure, field));
      if (name.empty()) continue;
      if (!names.empty()) names.push_back(' ');
      names.append(name);
    }
    // Names too long for an answer are cut, maybe right after a separator.
    while (!names.empty() && names.view().back() == ' ') names.erase(names.size() - 1, 1);
    return names;
  }
  return Text();
}

}  // namespace toolcase::sysinfo
