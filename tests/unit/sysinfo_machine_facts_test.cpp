#include "sysinfo/machine_facts.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "sysinfo/smbios_rules.h"

using toolcase::sysinfo::busy_percent;

// Kernel time includes idle time; the figure is rounded half up.
TEST(BusyPercent, IsTheShareOfTimeNotIdleRoundedAndNeverAboveAHundred) {
  const struct {
    std::uint64_t idle, kernel, user;
    std::uint32_t percent;
  } rows[] = {
      {0, 0, 0, 0},           {50, 100, 100, 75},  {199, 200, 0, 1},       {201, 200, 0, 0},
      {1, 200, 0, 100},       {3, 200, 0, 99},     {0, 100, 0, 100},
      {1ull << 52, (1ull << 53), 0, 50},  // 40 days of 256 processors between two calls
  };
  for (const auto& row : rows) {
    EXPECT_EQ(busy_percent(row.idle, row.kernel, row.user), row.percent)
        << row.idle << " " << row.kernel << " " << row.user;
  }
}

// A structure of the SMBIOS table: type, formatted length, handle, fields,
// then its strings and the empty one that ends them.
std::string structure(char type, const std::string& fields, const std::vector<std::string>& strings) {
  std::string bytes{type, static_cast<char>(4 + fields.size()), '\x10', '\0'};
  bytes += fields;
  for (const std::string& text : strings) bytes += text + '\0';
  return bytes + (strings.empty() ? std::string(2, '\0') : std::string(1, '\0'));
}
// As Windows gives the table: 8 bytes of header, the stated length among them.
std::string raw(const std::string& table, std::size_t stated = SIZE_MAX) {
  const auto length = static_cast<std::uint32_t>(std::min(stated, table.size()));
  return std::string{'\0', '\3', '\4', '\0'} + std::string(reinterpret_cast<const char*>(&length), 4) + table;
}

TEST(FirmwareNames, AreTheFirstStructuresNamesReadWithinTheTable) {
  using toolcase::sysinfo::FirmwarePart;
  const std::string bios = structure(0, std::string("\1\2\0\0\3", 5), {"American Megatrends Inc.", "1302", "08/06/2021"});
  const std::string system = structure(1, "\1\2", {"Dell Inc.", "XPS 15 9520"});
  const std::string board = structure(2, "\1\2", {"ASUSTeK COMPUTER INC.", "PRIME Z390-A"});
  const std::string real = raw(bios + system + board + structure(127, "", {}));
  const struct {
    std::string table;
    FirmwarePart part;
    std::string names;
  } rows[] = {
      {real, FirmwarePart::board, "ASUSTeK COMPUTER INC. PRIME Z390-A"},
      {real, FirmwarePart::system, "Dell Inc. XPS 15 9520"},
      {real, FirmwarePart::bios, "American Megatrends Inc. 1302 08/06/2021"},
      {raw(structure(2, "\1\2", {"To Be Filled By O.E.M.", " default STRING\t"})), FirmwarePart::board, ""},
      {raw(structure(1, "\1\2", {"System manufacturer", "\x01" "Custom\x7fPC\xE9 "})), FirmwarePart::system, "Custom PC\xE9"},
      {raw(structure(2, "\1\5", {"ASRock"})), FirmwarePart::board, "ASRock"},  // a string number beyond its strings
      {raw(structure(2, "\1\0", {"ASRock"})), FirmwarePart::board, "ASRock"},  // string 0: none
      {raw(system), FirmwarePart::board, ""},                                   // no board
      {raw(structure(127, "", {}) + board), FirmwarePart::board, ""},           // after the end of the table
      {raw(board.substr(0, board.size() - 5)), FirmwarePart::board, "ASUSTeK COMPUTER INC."},  // runs to the end without its NUL
      {raw(system + board, system.size() + 6), FirmwarePart::board, ""},       // past the stated length
      {raw(std::string{'\2', '\50', '\0', '\0', '\1'} + "ASRock"), FirmwarePart::board, ""},  // longer than what is left
      {raw(std::string{'\2', '\3', '\0', '\0'}), FirmwarePart::board, ""},     // shorter than its own header
      {raw(structure(0, "\1\2", {"LENOVO", "N2CET70W"})), FirmwarePart::bios, "LENOVO N2CET70W"},  // no date field
      {std::string("\0\3\4", 3), FirmwarePart::board, ""},
  };
  for (const auto& row : rows) {
    const auto* bytes = reinterpret_cast<const unsigned char*>(row.table.data());
    EXPECT_EQ(toolcase::sysinfo::firmware_names({bytes, row.table.size()}, row.part).view(), row.names)
        << &row - rows;
  }
}
