#include "process/process_names.h"

#include <gtest/gtest.h>

#include <array>
#include <string>

using namespace toolcase::process;

namespace {

// Shift-JIS (code page 932): lead bytes 0x81-0x9F and 0xE0-0xFC.
const std::array<unsigned char, 12> kShiftJisRanges = {0x81, 0x9F, 0xE0, 0xFC};

NameEncoding single_byte() { return {}; }

NameEncoding shift_jis(bool double_byte_rules = true) {
  return {lead_byte_table(kShiftJisRanges), double_byte_rules};
}

// Two Shift-JIS characters whose second byte is '\' (0x5C), and one ending in 'x'.
const std::string kOmote = "\x95\x5C";  // U+8868
const std::string kSo = "\x83\x5C";     // U+30BD
const std::string kKanjiX = "\x8A" "x";

std::string upper(std::string text) {
  for (char& c : text) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 0x20);
  }
  return text;
}

}  // namespace

TEST(LeadByteTable, HoldsExactlyTheReportedRanges) {
  const LeadByteTable table = lead_byte_table(kShiftJisRanges);
  int count = 0;
  for (bool lead : table) count += lead;
  EXPECT_EQ(count, 31 + 29);
  EXPECT_FALSE(table[0x80]);
  EXPECT_TRUE(table[0x81]);
  EXPECT_TRUE(table[0x9F]);
  EXPECT_FALSE(table[0xA0]);
  EXPECT_FALSE(table[0xDF]);
  EXPECT_TRUE(table[0xE0]);
  EXPECT_TRUE(table[0xFC]);
  EXPECT_FALSE(table[0xFD]);

  const std::array<unsigned char, 12> none{};
  EXPECT_EQ(lead_byte_table(none), LeadByteTable{});
  // Six pairs fill the array: no terminating zeros needed.
  const std::array<unsigned char, 12> full = {1, 1, 3, 3, 5, 5, 7, 7, 9, 9, 0xFF, 0xFF};
  const LeadByteTable table_full = lead_byte_table(full);
  EXPECT_TRUE(table_full[9]);
  EXPECT_TRUE(table_full[0xFF]);
  EXPECT_FALSE(table_full[2]);
}

TEST(ExecutableName, StopsAtTheFirstNulOrTakesAll260Bytes) {
  std::array<char, 260> field{};
  EXPECT_EQ(executable_name(field), "");

  const std::string name = "notepad.exe";
  std::copy(name.begin(), name.end(), field.begin());
  field[name.size() + 1] = 'x';  // left over behind the NUL
  EXPECT_EQ(executable_name(field), "notepad.exe");

  field.fill('a');
  EXPECT_EQ(executable_name(field), std::string(260, 'a'));
}

TEST(FileNamePart, UnderSingleByteRulesEverySeparatorCounts) {
  const NameEncoding encoding = single_byte();
  EXPECT_EQ(file_name_part("C:\\WINDOWS\\NOTEPAD.EXE", encoding), "NOTEPAD.EXE");
  EXPECT_EQ(file_name_part("C:NOTEPAD.EXE", encoding), "NOTEPAD.EXE");
  EXPECT_EQ(file_name_part("a\\b:c.exe", encoding), "c.exe");
  EXPECT_EQ(file_name_part("NOTEPAD.EXE", encoding), "NOTEPAD.EXE");
  EXPECT_EQ(file_name_part("C:\\WINDOWS\\", encoding), "");
  EXPECT_EQ(file_name_part("C:", encoding), "");
  EXPECT_EQ(file_name_part("\\", encoding), "");
  EXPECT_EQ(file_name_part("", encoding), "");
  // A Shift-JIS trail byte is just a '\' here, even with the lead table known.
  EXPECT_EQ(file_name_part(kOmote + "a.exe", encoding), "a.exe");
  EXPECT_EQ(file_name_part(kOmote + "a.exe", shift_jis(false)), "a.exe");
}

TEST(FileNamePart, UnderDoubleByteRulesATrailByteIsNoSeparator) {
  const NameEncoding encoding = shift_jis();
  EXPECT_EQ(file_name_part(kOmote + "a.exe", encoding), kOmote + "a.exe");
  EXPECT_EQ(file_name_part(kOmote, encoding), kOmote);
  EXPECT_EQ(file_name_part("x" + kSo + "b.exe", encoding), "x" + kSo + "b.exe");
  // The search goes on before the character and finds the real separator.
  EXPECT_EQ(file_name_part("C:\\" + kOmote + "\\" + kSo + "c.exe", encoding), kSo + "c.exe");
  EXPECT_EQ(file_name_part("C:\\dir\\" + kOmote + "c.exe", encoding), kOmote + "c.exe");
  EXPECT_EQ(file_name_part("dir\\" + kOmote + "\\", encoding), "");
  // A ':' after a lead byte is taken as a second byte by the same rule.
  EXPECT_EQ(file_name_part("d:\x95:e.exe", encoding), "\x95:e.exe");
  // Plain separators and other double-byte characters are unaffected.
  EXPECT_EQ(file_name_part("C:\\WINDOWS\\NOTEPAD.EXE", encoding), "NOTEPAD.EXE");
  EXPECT_EQ(file_name_part("dir\\" + kKanjiX + ".exe", encoding), kKanjiX + ".exe");
}

TEST(FileNamePart, TheRunOfLeadBytesDecidesByItsParity) {
  const NameEncoding encoding = shift_jis();
  // Two lead bytes form one character: the '\' after them is a separator.
  EXPECT_EQ(file_name_part("\x95\x95\\f.exe", encoding), "f.exe");
  // Three: the last one leads the '\'.
  EXPECT_EQ(file_name_part("\x95\x95\x95\\f.exe", encoding), "\x95\x95\x95\\f.exe");
  // The run ends at the first byte that is no lead byte.
  EXPECT_EQ(file_name_part("\x95" "a\x95\x95\\f.exe", encoding), "f.exe");
  EXPECT_EQ(file_name_part("\x95\\a\x95\\f.exe", encoding), "\x95\\a\x95\\f.exe");
}

TEST(NameMatch, TakesTheFileNamePartOrTheWholeName) {
  const NameEncoding encoding = single_byte();
  const std::string reported = "C:\\WINDOWS\\NOTEPAD.EXE";
  EXPECT_TRUE(name_matches(reported, upper("notepad.exe"), encoding));
  EXPECT_TRUE(name_matches(reported, upper("c:\\windows\\notepad.exe"), encoding));
  EXPECT_FALSE(name_matches(reported, upper("windows\\notepad.exe"), encoding));
  EXPECT_FALSE(name_matches(reported, upper("\\notepad.exe"), encoding));
  EXPECT_FALSE(name_matches(reported, upper("notepad"), encoding));
}

TEST(NameMatch, FoldsOnlyAsciiLettersAndNeverTrims) {
  const NameEncoding encoding = single_byte();
  for (const char* input : {"notepad.exe", "NOTEPAD.EXE", "Notepad.Exe"}) {
    EXPECT_TRUE(name_matches("notepad.exe", upper(input), encoding)) << input;
  }
  for (const char* input : {"notepad", " notepad.exe", "notepad.exe ", "otepad.exe", ""}) {
    EXPECT_FALSE(name_matches("notepad.exe", upper(input), encoding)) << '"' << input << '"';
  }
  // 0xE4 and 0xC4 differ only in case in code page 1252, but are not ASCII.
  EXPECT_TRUE(name_matches("\xE4pfel.exe", upper("\xE4PFEL.exe"), encoding));
  EXPECT_FALSE(name_matches("\xE4pfel.exe", upper("\xC4pfel.exe"), encoding));
  EXPECT_FALSE(name_matches("\xC4pfel.exe", upper("\xE4pfel.exe"), encoding));
}

TEST(NameMatch, EmptyInputMatchesOnlyAnEmptyFileNamePart) {
  const NameEncoding encoding = single_byte();
  EXPECT_TRUE(name_matches("", "", encoding));
  EXPECT_TRUE(name_matches("C:\\WINDOWS\\", "", encoding));
  EXPECT_TRUE(name_matches("C:", "", encoding));
  EXPECT_FALSE(name_matches("a.exe", "", encoding));
  // Under double-byte rules a name ending in a trail byte has a file-name part.
  EXPECT_TRUE(name_matches(kOmote, "", single_byte()));
  EXPECT_FALSE(name_matches(kOmote, "", shift_jis()));
}

TEST(NameMatch, ShiftJisTrailBytesAreNoFolderUnderDoubleByteRules) {
  const std::string reported = kOmote + "victim.exe";
  EXPECT_TRUE(name_matches(reported, upper(kOmote + "Victim.exe"), shift_jis()));
  EXPECT_FALSE(name_matches(reported, upper("victim.exe"), shift_jis()));
  EXPECT_TRUE(name_matches(reported, upper("victim.exe"), single_byte()));
  EXPECT_TRUE(name_matches(reported, upper(kOmote + "victim.exe"), single_byte()));
}

TEST(NameMatch, UnderDoubleByteRulesTheSecondByteOfACharacterKeepsItsCase) {
  const std::string kDi = "\x83\x61", kA = "\x83\x41";  // U+30C2 and U+30A2 in code page 932
  EXPECT_FALSE(name_matches(kDi + ".exe", upper_name(kA + ".exe", shift_jis()), shift_jis()));
  EXPECT_FALSE(name_matches(kA + ".exe", upper_name(kDi + ".exe", shift_jis()), shift_jis()));
  EXPECT_TRUE(
      name_matches("C:\\" + kDi + "a.exe", upper_name(kDi + "A.EXE", shift_jis()), shift_jis()));
}

TEST(TerminationStatus, OnlyTheLastRequestDecides) {
  EXPECT_FALSE(TerminationStatus{}.succeeded());  // nothing matched

  TerminationStatus one_success;
  one_success.record(1);
  EXPECT_TRUE(one_success.succeeded());

  TerminationStatus one_failure;
  one_failure.record(0);
  EXPECT_FALSE(one_failure.succeeded());

  TerminationStatus success_then_failure;
  success_then_failure.record(1);
  success_then_failure.record(0);
  EXPECT_FALSE(success_then_failure.succeeded());

  TerminationStatus failure_then_success;
  failure_then_success.record(0);
  failure_then_success.record(1);
  EXPECT_TRUE(failure_then_success.succeeded());

  // Success is any nonzero answer.
  TerminationStatus other_nonzero;
  other_nonzero.record(-1);
  EXPECT_TRUE(other_nonzero.succeeded());
}
