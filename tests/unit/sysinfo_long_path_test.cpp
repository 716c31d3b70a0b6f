#include "sysinfo/long_path.h"

#include <gtest/gtest.h>

#include <functional>
#include <initializer_list>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "host/text.h"

using namespace toolcase::sysinfo;
using toolcase::text::to_lower_ascii;

namespace {

// A disk that knows the stored name behind each pattern it is asked about
// (in any case, by short or long names alike) and remembers every question.
struct FakeDisk {
  FakeDisk() = default;
  FakeDisk(std::initializer_list<std::pair<const std::string, std::string>> entries)
      : stored(entries) {}

  std::map<std::string, std::string> stored;  // lower-cased pattern -> stored name
  std::vector<std::string> asked;

  std::string operator()(std::string_view pattern) {
    asked.emplace_back(pattern);
    const auto found = stored.find(std::string(to_lower_ascii(pattern).view()));
    return found == stored.end() ? std::string() : found->second;
  }

  std::string expand(std::string_view path) {
    asked.clear();
    return std::string(expand_long_path(path, std::ref(*this)).view());
  }
};

using Patterns = std::vector<std::string>;

}  // namespace

TEST(LongPath, RebuildsShortNamesAndKeepsTheFirstComponentAsWritten) {
  FakeDisk disk{{"c:\\progra~1", "Program Files"}, {"c:\\progra~1\\common~1", "Common Files"}};
  EXPECT_EQ(disk.expand("c:\\progra~1\\common~1"), "c:\\Program Files\\Common Files");
  EXPECT_EQ(disk.asked, (Patterns{"c:\\progra~1", "c:\\progra~1\\common~1"}));
}

TEST(LongPath, TakesTheStoredCase) {
  FakeDisk disk{{"c:\\windows", "Windows"}, {"c:\\windows\\system32", "System32"}};
  EXPECT_EQ(disk.expand("C:\\WINDOWS\\SYSTEM32"), "C:\\Windows\\System32");
  EXPECT_EQ(disk.expand("c:\\windows"), "c:\\Windows");
  EXPECT_EQ(disk.asked, Patterns{"c:\\windows"});
}

TEST(LongPath, KeepsAFinalSeparatorThroughALastLookUpThatFindsNothing) {
  FakeDisk disk{{"c:\\docume~1", "Documents and Settings"},
                 {"c:\\docume~1\\operat~1", "Operator"},
                 {"c:\\docume~1\\operat~1\\locals~1", "Local Settings"},
                 {"c:\\docume~1\\operat~1\\locals~1\\temp", "Temp"}};
  EXPECT_EQ(disk.expand("C:\\DOCUME~1\\OPERAT~1\\LOCALS~1\\Temp\\"),
            "C:\\Documents and Settings\\Operator\\Local Settings\\Temp\\");
  EXPECT_EQ(disk.asked, (Patterns{"C:\\DOCUME~1", "C:\\DOCUME~1\\OPERAT~1",
                                  "C:\\DOCUME~1\\OPERAT~1\\LOCALS~1",
                                  "C:\\DOCUME~1\\OPERAT~1\\LOCALS~1\\Temp",
                                  "C:\\DOCUME~1\\OPERAT~1\\LOCALS~1\\Temp\\"}));

  FakeDisk programs{{"c:\\progra~1", "Program Files"}};
  EXPECT_EQ(programs.expand("C:\\PROGRA~1\\"), "C:\\Program Files\\");
}

TEST(LongPath, MissingComponentsLeaveEmptyNamesBetweenTheirSeparators) {
  FakeDisk disk;
  EXPECT_EQ(disk.expand("C:\\NOSUCH\\file.txt"), "C:\\\\");
  EXPECT_EQ(disk.asked, (Patterns{"C:\\NOSUCH", "C:\\NOSUCH\\file.txt"}));
  EXPECT_EQ(disk.expand("C:\\a\\b\\c"), "C:\\\\\\");
}

TEST(LongPath, ADriveAloneIsLookedUpOnceAndStays) {
  FakeDisk disk;
  EXPECT_EQ(disk.expand("c:\\"), "c:\\");
  EXPECT_EQ(disk.asked, Patterns{"c:\\"});
}

TEST(LongPath, ANameWithoutSeparatorIsOneLookUpWithNoFolderBeforeIt) {
  FakeDisk disk{{"readme.txt", "ReadMe.txt"}};
  EXPECT_EQ(disk.expand("README.TXT"), "ReadMe.txt");
  EXPECT_EQ(disk.asked, Patterns{"README.TXT"});
  EXPECT_EQ(disk.expand("nothing.txt"), "");
}

TEST(LongPath, ForwardSlashesAreNotSeparators) {
  FakeDisk disk{{"c:/windows/system32", "system32"}};
  EXPECT_EQ(disk.expand("C:/Windows/System32"), "system32");
  EXPECT_EQ(disk.asked, Patterns{"C:/Windows/System32"});
  EXPECT_EQ(disk.expand("C:\\Windows/System32"), "C:\\");
  EXPECT_EQ(disk.asked, Patterns{"C:\\Windows/System32"});
}

TEST(LongPath, WildcardsReachTheLookUpUnchanged) {
  FakeDisk disk{{"c:\\win*", "windows"}};
  EXPECT_EQ(disk.expand("C:\\WIN*"), "C:\\windows");
  EXPECT_EQ(disk.asked, Patterns{"C:\\WIN*"});
}

TEST(LongPath, DoubledSeparatorsAskForAnEmptyComponent) {
  FakeDisk disk{{"c:\\\\windows", "Windows"}};
  EXPECT_EQ(disk.expand("C:\\\\WINDOWS"), "C:\\\\Windows");
  EXPECT_EQ(disk.asked, (Patterns{"C:\\", "C:\\\\WINDOWS"}));

  EXPECT_EQ(disk.expand("\\\\server\\share"), "\\\\\\");
  EXPECT_EQ(disk.asked, (Patterns{"\\", "\\\\server", "\\\\server\\share"}));
}

TEST(LongPath, LooksUpEvenAnEmptyPath) {
  FakeDisk disk;
  EXPECT_EQ(disk.expand(""), "");
  EXPECT_EQ(disk.asked, Patterns{""});
  EXPECT_EQ(disk.expand("\\"), "\\");
  EXPECT_EQ(disk.asked, Patterns{"\\"});
}

TEST(LongPath, ARebuiltPathLongerThanTheHostsBufferIsCutThere) {
  // Each 4-byte short name stands for a 200-byte long one.
  const std::string long_name(200, 'L');
  FakeDisk disk;
  std::string path = "C:";
  std::string pattern = "c:";
  std::string whole = "C:";
  for (int i = 0; i < 8; ++i) {
    path += "\\AB~" + std::to_string(i);
    pattern += "\\ab~" + std::to_string(i);
    disk.stored[pattern] = long_name;
    whole += "\\" + long_name;
  }
  const std::string rebuilt = disk.expand(path);
  EXPECT_EQ(rebuilt, whole.substr(0, 899));
  EXPECT_EQ(disk.asked.size(), 8u);
}
