// System folders and long paths, against Wine's real file system: a folder
// tree with long names, made by the test, reached through its short names.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <string_view>

#include "host/text.h"
#include "sysinfo_import_patch.h"
#include "test_window.h"
#include "toolcase_dll.h"

using namespace toolcase;
using namespace toolcase::e2e;

namespace {

std::string system_folder() {
  char folder[MAX_PATH] = {};
  GetSystemDirectoryA(folder, MAX_PATH);
  return folder;
}

std::string windows_folder() {
  char folder[MAX_PATH] = {};
  GetWindowsDirectoryA(folder, MAX_PATH);
  return folder;
}

std::string temp_folder() {
  char folder[MAX_PATH + 1] = {};
  GetTempPathA(sizeof folder, folder);
  return folder;
}

std::string short_form(const std::string& path) {
  char result[MAX_PATH] = {};
  const DWORD length = GetShortPathNameA(path.c_str(), result, MAX_PATH);
  EXPECT_GT(length, 0u) << path;
  EXPECT_LT(length, static_cast<DWORD>(MAX_PATH)) << path;
  return result;
}

std::string long_form(const std::string& path) {
  char result[MAX_PATH] = {};
  const DWORD length = GetLongPathNameA(path.c_str(), result, MAX_PATH);
  EXPECT_GT(length, 0u) << path;
  EXPECT_LT(length, static_cast<DWORD>(MAX_PATH)) << path;
  return result;
}

// The name the platform's own search reports first for a pattern.
std::string first_found(const std::string& pattern) {
  WIN32_FIND_DATAA record{};
  const HANDLE search = FindFirstFileA(pattern.c_str(), &record);
  if (search == INVALID_HANDLE_VALUE) return {};
  FindClose(search);
  return record.cFileName;
}

std::string environment(const char* name) {
  char value[1024] = {};
  const DWORD length = GetEnvironmentVariableA(name, value, sizeof value);
  return length < sizeof value ? std::string(value, length) : std::string();
}

// What the replaced folder calls saw and do.
struct FakeFolderCall {
  DWORD size_passed = 0;
  bool buffer_was_cleared = false;
  std::string text;  // written with its NUL when it fits in the size passed
  DWORD result = 0;
};
FakeFolderCall fake;

DWORD fill_folder(LPSTR buffer, DWORD size) {
  fake.size_passed = size;
  fake.buffer_was_cleared = std::all_of(buffer, buffer + size, [](char c) { return c == 0; });
  const std::size_t length = std::min<std::size_t>(fake.text.size(), size);
  std::memcpy(buffer, fake.text.data(), length);
  if (length < size) buffer[length] = 0;
  return fake.result;
}

UINT WINAPI fake_folder_call(LPSTR buffer, UINT size) { return fill_folder(buffer, size); }
DWORD WINAPI fake_temp_path(DWORD size, LPSTR buffer) { return fill_folder(buffer, size); }

// FindFirstFileA as Windows answers in a compatibility junction ("Documents
// and Settings" and its kind), which denies listing to everyone.
std::string denied_folder;
HANDLE WINAPI deny_listing(LPCSTR pattern, LPWIN32_FIND_DATAA record) {
  const std::string_view text = pattern;
  if (text.substr(0, text.rfind('\\')) != denied_folder) return FindFirstFileA(pattern, record);
  SetLastError(ERROR_ACCESS_DENIED);
  return INVALID_HANDLE_VALUE;
}

// A tree of long-named entries in the temporary folder, removed afterwards:
//   <temp>\toolcase Long Folder-...\Second Long Component\A Long File Name.text
class LongNames : public ::testing::Test {
 protected:
  void SetUp() override {
    base_ = long_form(temp_folder()) + unique_name("toolcase Long Folder");
    inner_ = base_ + "\\Second Long Component";
    file_ = inner_ + "\\A Long File Name.text";
    ASSERT_TRUE(CreateDirectoryA(base_.c_str(), nullptr)) << base_;
    ASSERT_TRUE(CreateDirectoryA(inner_.c_str(), nullptr)) << inner_;
    const HANDLE file = CreateFileA(file_.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                    FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE) << file_;
    CloseHandle(file);
    short_file_ = short_form(file_);
    short_inner_ = short_form(inner_);
    short_base_ = short_form(base_);
    // Every one of the three names must really have a different short form.
    ASSERT_EQ(std::count(short_file_.begin(), short_file_.end(), '~'),
              std::count(file_.begin(), file_.end(), '~') + 3)
        << short_file_;
  }

  void TearDown() override {
    SetFileAttributesA(file_.c_str(), FILE_ATTRIBUTE_NORMAL);
    DeleteFileA(file_.c_str());
    RemoveDirectoryA(inner_.c_str());
    RemoveDirectoryA(base_.c_str());
  }

  std::string base_, inner_, file_;
  std::string short_base_, short_inner_, short_file_;
};

}  // namespace

TEST(GetDir, KeywordsInAnyCaseAnswerThePlatformsFolders) {
  EXPECT_EQ(call("GetDir", "system"), system_folder());
  EXPECT_EQ(call("GetDir", "SYSTEM"), system_folder());
  EXPECT_EQ(call("GetDir", "windows"), windows_folder());
  EXPECT_EQ(call("GetDir", "Windows"), windows_folder());
  EXPECT_EQ(call("GetDir", "temp"), temp_folder());
  EXPECT_EQ(call("GetDir", "TEMP"), temp_folder());
  EXPECT_EQ(call("GetDir", "FullTemp"), long_form(temp_folder()));
  EXPECT_EQ(call("GetDir", "fulltemp").back(), '\\');
  for (const char* input : {"temp ", " temp", "tmp", "", "full temp", "system32", "dir"}) {
    EXPECT_EQ(call("GetDir", input), "error") << '"' << input << '"';
  }
}

TEST(GetDir, AnswersErrorWhenTheFolderCallFailsOrTheFolderDoesNotFit) {
  {
    ImportPatch patch(toolcase_module(), "KERNEL32.dll", "GetSystemDirectoryA",
                      as_farproc(&fake_folder_call));
    fake = {};
    fake.text = "C:\\stale";
    EXPECT_EQ(call("GetDir", "system"), "error") << "reported failure";
    EXPECT_EQ(fake.size_passed, static_cast<DWORD>(MAX_PATH));

    fake = {};
    fake.text = std::string(MAX_PATH, 'x');
    fake.result = MAX_PATH + 40;
    EXPECT_EQ(call("GetDir", "system"), "error") << "needs more room";

    fake = {};
    fake.text = "C:\\" + std::string(MAX_PATH - 4, 's');
    fake.result = MAX_PATH - 1;
    EXPECT_EQ(call("GetDir", "system"), fake.text) << "the longest folder that fits";
  }
  {
    ImportPatch patch(toolcase_module(), "KERNEL32.dll", "GetWindowsDirectoryA",
                      as_farproc(&fake_folder_call));
    fake = {};
    fake.result = 0;
    EXPECT_EQ(call("GetDir", "windows"), "error");
  }
  {
    ImportPatch patch(toolcase_module(), "KERNEL32.dll", "GetTempPathA",
                      as_farproc(&fake_temp_path));
    for (const char* keyword : {"temp", "fulltemp"}) {
      fake = {};
      fake.text = "C:\\stale\\";
      EXPECT_EQ(call("GetDir", keyword), "error") << keyword;
      EXPECT_EQ(fake.size_passed, static_cast<DWORD>(MAX_PATH + 1));

      fake = {};
      fake.text = std::string(MAX_PATH + 1, 'x');
      fake.result = MAX_PATH + 1;
      EXPECT_EQ(call("GetDir", keyword), "error") << keyword;
    }
    fake = {};
    fake.text = "C:\\" + std::string(MAX_PATH - 4, 't') + "\\";
    fake.result = MAX_PATH;
    EXPECT_EQ(call("GetDir", "temp"), fake.text);
  }
}

TEST(GetDir, ClearsTheFolderBufferBeforeTheCall) {
  // The first call leaves the real folder where the second call's buffer lies.
  ASSERT_EQ(call("GetDir", "temp"), temp_folder());
  ImportPatch patch(toolcase_module(), "KERNEL32.dll", "GetTempPathA",
                    as_farproc(&fake_temp_path));
  fake = {};
  EXPECT_EQ(call("GetDir", "temp"), "error");
  EXPECT_TRUE(fake.buffer_was_cleared);
}

TEST_F(LongNames, FullTempRebuildsTheStoredNamesAndKeepsTheFinalSeparator) {
  const std::string saved = environment("TMP");
  ASSERT_TRUE(SetEnvironmentVariableA("TMP", (short_inner_ + "\\").c_str()));
  const std::string temp = call("GetDir", "temp");
  const std::string full = call("GetDir", "fulltemp");
  SetEnvironmentVariableA("TMP", saved.empty() ? nullptr : saved.c_str());
  EXPECT_EQ(temp, short_inner_ + "\\");
  EXPECT_EQ(full, inner_ + "\\");
}

TEST_F(LongNames, ExtractFullPathRebuildsTheStoredNamesOfAShortPath) {
  ASSERT_NE(short_file_, file_);
  EXPECT_EQ(call("ExtractFullPath", short_file_), file_);
  EXPECT_EQ(call("ExtractFullPath", short_inner_), inner_);
  EXPECT_EQ(call("ExtractFullPath", short_inner_ + "\\"), inner_ + "\\");
}

TEST_F(LongNames, ExtractFullPathTakesTheStoredCaseButKeepsTheFirstComponentAsWritten) {
  ASSERT_EQ(file_.substr(1, 2), ":\\");
  const std::string lower_drive(text::to_lower_ascii(file_.substr(0, 3)));
  const std::string upper_rest(text::to_upper_ascii(file_.substr(3)));
  EXPECT_EQ(call("ExtractFullPath", lower_drive + upper_rest), lower_drive + file_.substr(3));
  EXPECT_EQ(call("ExtractFullPath", std::string(text::to_upper_ascii(short_file_.substr(0, 3))) +
                                        std::string(text::to_lower_ascii(short_file_.substr(3)))),
            std::string(text::to_upper_ascii(file_.substr(0, 3))) + file_.substr(3));
}

TEST_F(LongNames, ExtractFullPathLeavesMissingComponentsEmpty) {
  EXPECT_EQ(call("ExtractFullPath", short_base_ + "\\NOSUCH\\file.txt"), base_ + "\\\\");
  EXPECT_EQ(call("ExtractFullPath", short_base_ + "\\NOSUCH"), base_ + "\\");
}

TEST_F(LongNames, ExtractFullPathKeepsAPartThatWindowsRefusesToListAsWritten) {
  denied_folder = base_;
  const ImportPatch patch(toolcase_module(), "KERNEL32.dll", "FindFirstFileA",
                          as_farproc(&deny_listing));
  const std::string file_name = short_file_.substr(short_file_.rfind('\\'));
  EXPECT_EQ(call("ExtractFullPath", base_ + "\\second long component" + file_name),
            base_ + "\\second long component\\A Long File Name.text");
}

TEST_F(LongNames, ExtractFullPathReportsEntriesWhateverTheirAttributes) {
  ASSERT_TRUE(SetFileAttributesA(
      file_.c_str(), FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_READONLY));
  EXPECT_EQ(call("ExtractFullPath", short_file_), file_);
}

TEST_F(LongNames, ExtractFullPathResolvesASingleNameInTheCurrentFolder) {
  char saved[MAX_PATH] = {};
  GetCurrentDirectoryA(MAX_PATH, saved);
  ASSERT_TRUE(SetCurrentDirectoryA(inner_.c_str()));
  const std::string found = call("ExtractFullPath", short_file_.substr(short_file_.rfind('\\') + 1));
  const std::string missing = call("ExtractFullPath", "no such file.txt");
  SetCurrentDirectoryA(saved);
  EXPECT_EQ(found, "A Long File Name.text");
  EXPECT_EQ(missing, "");
}

TEST_F(LongNames, ManyCallsLeaveNoSearchOpen) {
  call("ExtractFullPath", short_file_);
  const std::uintptr_t before = next_handle_value();
  for (int i = 0; i < 1000; ++i) {
    ASSERT_EQ(call("ExtractFullPath", short_file_), file_);
  }
  EXPECT_EQ(next_handle_value(), before);
}

TEST(ExtractFullPath, ADriveAloneStaysAsWritten) {
  EXPECT_EQ(call("ExtractFullPath", "c:\\"), "c:\\");
  EXPECT_EQ(call("ExtractFullPath", "C:\\"), "C:\\");
}

TEST(ExtractFullPath, WildcardsReachTheSearch) {
  const std::string first = first_found("C:\\WIN*");
  ASSERT_FALSE(first.empty());
  EXPECT_EQ(call("ExtractFullPath", "C:\\WIN*"), "C:\\" + first);
}

TEST(ExtractFullPath, ForwardSlashesMakeOneLookUpWithNoFolderBeforeIt) {
  const std::string pattern(text::to_upper_ascii(windows_folder()));
  std::string slashed = pattern;
  std::replace(slashed.begin(), slashed.end(), '\\', '/');
  const std::string answer = call("ExtractFullPath", slashed);
  EXPECT_EQ(answer, first_found(slashed));
  EXPECT_EQ(answer.find('\\'), std::string::npos);
  EXPECT_EQ(answer.find('/'), std::string::npos);
}

TEST(ExtractFullPath, AnswersErrorOnlyForTheEmptyText) {
  EXPECT_EQ(call("ExtractFullPath", ""), "error");
  EXPECT_EQ(call("ExtractFullPath", "error"), "");
  EXPECT_EQ(call("ExtractFullPath", "\\"), "\\");
}
