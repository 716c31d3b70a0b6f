// Texts in every language from a Unicode host, as mIRC 7 and later call: a
// main window of a Unicode class, and UTF-8 in the data buffer. Windows,
// processes, folders, names and message boxes whose texts the system's ANSI
// code page cannot hold are found and reported all the same, and give the
// same answers under every locale. An ANSI host, or text that is not UTF-8,
// gets the ANSI calls as before.
// Also run with LC_ALL=de_DE.UTF-8
// Also run with LC_ALL=ja_JP.UTF-8
#include <windows.h>
#include <tlhelp32.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "host/unique_handle.h"
#include "message_box_watcher.h"
#include "notify_box_watch.h"
#include "test_window.h"
#include "toolcase_dll.h"

using namespace toolcase;
using namespace toolcase::e2e;

namespace {

const std::wstring kPid = std::to_wstring(GetCurrentProcessId());
constexpr DWORD kTimeoutMs = 5000;

std::wstring wide_text_of(HWND window) {
  wchar_t text[2048] = {};
  GetWindowTextW(window, text, 2048);
  return text;
}

std::string ansi_text_of(HWND window) {
  char text[2048] = {};
  GetWindowTextA(window, text, 2048);
  return text;
}

// The host's main window: Unicode, as mIRC 7's, or ANSI, as older hosts'.
class HostWindows : public ::testing::Test {
 protected:
  HWND unicode_host() const { return unicode_host_.handle(); }
  HWND ansi_host() const { return ansi_host_.handle(); }

 private:
  TestWindow unicode_host_{L"toolcase-unicode-host-" + kPid, L"Unicode host", false};
  TestWindow ansi_host_{unique_name("toolcase-ansi-host"), "ANSI host", false};
};

// Titles the ANSI code pages of the three locales cannot all hold, the last
// with a character outside the Basic Multilingual Plane (a surrogate pair).
const std::vector<std::wstring> kTitles = {
    L"Gr\u00F6\u00DFe \u00E4ndern \u2013 \u00DCbersicht " + kPid,
    L"\u0395\u03BB\u03BB\u03B7\u03BD\u03B9\u03BA\u03AC \u03A9 " + kPid,
    L"\u041E\u043A\u043D\u043E \u0436\u0443\u0440\u043D\u0430\u043B " + kPid,
    L"\u65E5\u672C\u8A9E\u306E\u30A6\u30A3\u30F3\u30C9\u30A6 " + kPid,
    L"Smile \U0001F600 window " + kPid,
};

using UnicodeHost = HostWindows;
using AnsiHost = HostWindows;

TEST_F(UnicodeHost, WindowsOfEveryScriptAreFoundShownHiddenAndRenamed) {
  for (const std::wstring& title : kTitles) {
    SCOPED_TRACE(utf8_of(title));
    TestWindow window(L"toolcase-k\u00E4stchen-\u03A9-" + title, title, false);
    const std::string name = utf8_of(title);
    EXPECT_EQ(call("WindowIsVisible", name, unicode_host()), "false");
    EXPECT_EQ(call("WindowShow", name, unicode_host()), "true");
    EXPECT_TRUE(IsWindowVisible(window.handle()));
    EXPECT_EQ(call("WindowText", name, unicode_host()), name);
    EXPECT_EQ(call("WindowHide", name, unicode_host()), "true");
    // Found by its class name, which is not ASCII either.
    const std::string class_name = utf8_of(L"toolcase-k\u00E4stchen-\u03A9-" + title);
    EXPECT_EQ(call("WindowText", class_name, unicode_host()), name);

    const std::wstring renamed = L"\u00BB" + title + L" \u00E9t\u00E9 \U0001F30D\u00AB";
    EXPECT_EQ(call("ChangeWindowText", name + "; " + utf8_of(renamed), unicode_host()), "true");
    EXPECT_EQ(wide_text_of(window.handle()), renamed);
    EXPECT_EQ(call("WindowText", utf8_of(renamed), unicode_host()), utf8_of(renamed));
  }
}

TEST_F(UnicodeHost, CaptionsAreReadUpTo254UnitsAndNeverHalfACharacter) {
  const std::wstring class_name = L"toolcase-long-caption-" + kPid;
  TestWindow window(class_name, std::wstring(500, L'\u00E4'), false);
  // 254 of the 500 "ä": 508 bytes.
  EXPECT_EQ(call("WindowText", utf8_of(class_name), unicode_host()), utf8_of(std::wstring(254, L'\u00E4')));
  // An emoji in units 254 and 255: the limit cuts the pair, which is dropped whole.
  SetWindowTextW(window.handle(), (std::wstring(253, L'a') + L"\U0001F600").c_str());
  EXPECT_EQ(call("WindowText", utf8_of(class_name), unicode_host()), std::string(253, 'a'));
  SetWindowTextW(window.handle(), (std::wstring(252, L'a') + L"\U0001F600").c_str());
  EXPECT_EQ(call("WindowText", utf8_of(class_name), unicode_host()),
            std::string(252, 'a') + utf8_of(L"\U0001F600"));
}

TEST_F(UnicodeHost, AnInputCutInsideACharacterAtTheBuffersEndLosesThatCharacter) {
  const std::wstring class_name = L"toolcase-cut-input-" + kPid;
  TestWindow window(class_name, L"", false);
  // The class, ";", a blank or two, then "€" (3 bytes each) well past 900
  // bytes: the host's buffer keeps 899 bytes, which end inside a "€".
  std::string prefix = utf8_of(class_name) + ";x";
  while ((899 - prefix.size()) % 3 == 0) prefix += ' ';
  const std::string input = prefix + utf8_of(std::wstring(400, L'\u20AC'));
  EXPECT_EQ(call("ChangeWindowText", input, unicode_host()), "true");
  EXPECT_EQ(wide_text_of(window.handle()),
            L"x" + std::wstring(prefix.size() - utf8_of(class_name).size() - 2, L' ') +
                std::wstring((899 - prefix.size()) / 3, L'\u20AC'));
}

TEST_F(UnicodeHost, TextThatIsNotUtf8GoesThroughTheAnsiCalls) {
  // Bytes of an ANSI code page, never well-formed UTF-8 ("\xC0\xAF" is an
  // overlong "/"), and whole characters in code pages 1252 and 932 alike:
  // the window is found by what the ANSI calls make of them.
  for (const std::string& suffix : {std::string("Gr\xF6\xDF" "e"), std::string("\xC0\xAF")}) {
    const std::string title = unique_name("toolcase-ansi-title") + suffix;
    TestWindow window(unique_name("toolcase-ansi-class"), title, false);
    EXPECT_EQ(call("WindowText", title, unicode_host()), ansi_text_of(window.handle())) << title;
    EXPECT_EQ(call("ChangeWindowText", title + ";" + title + "\xAF", unicode_host()), "true");
    EXPECT_EQ(call("WindowText", title + "\xAF", unicode_host()), ansi_text_of(window.handle()));
  }
}

TEST_F(AnsiHost, AnAnsiOrNoMainWindowGetsTheAnsiTextsAsBefore) {
  const std::wstring class_name = L"toolcase-ansi-host-window-" + kPid;
  TestWindow window(class_name, kTitles[0], false);
  for (HWND host : {ansi_host(), HWND{nullptr}}) {
    // The caption as the system's code page holds it, not UTF-8.
    EXPECT_EQ(call("WindowText", utf8_of(class_name), host), ansi_text_of(window.handle()));
    EXPECT_EQ(call("WindowText", utf8_of(kTitles[0]), host), "error") << "UTF-8 read as ANSI";
    char temp[MAX_PATH + 1] = {};
    GetTempPathA(MAX_PATH + 1, temp);
    EXPECT_EQ(call("GetDir", "temp", host), temp);
  }
  // The same ASCII input from a Unicode host: the caption in UTF-8.
  EXPECT_EQ(call("WindowText", utf8_of(class_name), unicode_host()), utf8_of(kTitles[0]));
}

// Copies of the sleeper under a name no code page holds whole; ended by the
// test's own handles if still running at the end.
class NonAsciiProcess : public HostWindows {
 protected:
  void SetUp() override {
    wchar_t path[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring folder = path;
    folder.erase(folder.find_last_of(L'\\'));
    program_ = folder + L"\\" + file_name_;
    ASSERT_TRUE(CopyFileW((folder + L"\\sleeper.exe").c_str(), program_.c_str(), FALSE))
        << "cannot copy the sleeper: " << GetLastError();
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    ASSERT_TRUE(CreateProcessW(program_.c_str(), nullptr, nullptr, nullptr, FALSE,
                               CREATE_NO_WINDOW, nullptr, nullptr, &startup, &info));
    CloseHandle(info.hThread);
    process_.reset(info.hProcess);
    const DWORD deadline = GetTickCount() + 10000;
    while (!listed(info.dwProcessId) && GetTickCount() < deadline) Sleep(20);
    ASSERT_TRUE(listed(info.dwProcessId));
  }
  void TearDown() override {
    if (process_ && WaitForSingleObject(process_.get(), 0) == WAIT_TIMEOUT) {
      TerminateProcess(process_.get(), 1);
      WaitForSingleObject(process_.get(), kTimeoutMs);
    }
    process_.reset();
    DeleteFileW(program_.c_str());
  }

  static bool listed(DWORD process_id) {
    const unique_snapshot snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
    PROCESSENTRY32W entry{};
    entry.dwSize = sizeof entry;
    for (BOOL more = Process32FirstW(snapshot.get(), &entry); more;
         more = Process32NextW(snapshot.get(), &entry)) {
      if (entry.th32ProcessID == process_id) return true;
    }
    return false;
  }

  const std::wstring file_name_ = L"pr\u00FCfung-\u03A9\u03BC-\u65E5\u672C-\U0001F600-" + kPid + L".exe";
  std::wstring program_;
  unique_process process_;
};

TEST_F(NonAsciiProcess, IsFoundByItsNameWithAsciiLettersFoldedAndEnded) {
  const std::string name = utf8_of(file_name_);
  const std::wstring rest = L"-\u65E5\u672C-\U0001F600-" + kPid;
  // ASCII letters fold; "ü" and "Ω" compare exactly.
  for (const auto& [input, answer] : {std::pair{name, "true"},
                                      {utf8_of(L"PR\u00FCFUNG-\u03A9\u03BC" + rest + L".EXE"), "true"},
                                      {utf8_of(L"PR\u00DCFUNG-\u03A9\u03BC" + rest + L".EXE"), "false"},
                                      {utf8_of(L"pr\u00FCfung-\u03C9\u03BC" + rest + L".exe"), "false"}}) {
    EXPECT_EQ(call("ProcessIsRunning", input, unicode_host()), answer) << input;
  }
  EXPECT_EQ(call("KillProcess", name, unicode_host()), "true");
  ASSERT_EQ(WaitForSingleObject(process_.get(), kTimeoutMs), WAIT_OBJECT_0);
  DWORD code = STILL_ACTIVE;
  GetExitCodeProcess(process_.get(), &code);
  EXPECT_EQ(code, 0u);
  EXPECT_EQ(call("ProcessIsRunning", name, unicode_host()), "false");
}

// A folder whose name no code page holds whole, and its short (8.3) form.
class NonAsciiFolder : public HostWindows {
 protected:
  void SetUp() override {
    wchar_t temp[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, temp);
    long_ = std::wstring(temp) + L"J\u00F6rg \u0394\u03B9\u03AC\u03C6\u03BF\u03C1\u03BF "
                                 L"\u65E5\u672C \U0001F600 " + kPid;
    ASSERT_TRUE(CreateDirectoryW(long_.c_str(), nullptr)) << GetLastError();
    wchar_t short_form[MAX_PATH] = {};
    ASSERT_GT(GetShortPathNameW(long_.c_str(), short_form, MAX_PATH), 0u);
    short_ = short_form;
    ASSERT_NE(short_, long_);
    wchar_t long_form[MAX_PATH] = {};
    ASSERT_GT(GetLongPathNameW(short_.c_str(), long_form, MAX_PATH), 0u);
    long_ = long_form;  // every component as stored
  }
  void TearDown() override { RemoveDirectoryW(long_.c_str()); }

  std::wstring long_;
  std::wstring short_;
};

TEST_F(NonAsciiFolder, TempFolderAndLongPathsComeBackInUtf8) {
  EXPECT_EQ(call("ExtractFullPath", utf8_of(short_), unicode_host()), utf8_of(long_));
  EXPECT_EQ(call("ExtractFullPath", utf8_of(short_ + L"\\"), unicode_host()), utf8_of(long_ + L"\\"));

  wchar_t saved[4096] = {};
  const bool had_tmp = GetEnvironmentVariableW(L"TMP", saved, 4096) > 0;
  ASSERT_TRUE(SetEnvironmentVariableW(L"TMP", (short_ + L"\\").c_str()));
  const std::string temp = call("GetDir", "temp", unicode_host());
  const std::string full_temp = call("GetDir", "FullTemp", unicode_host());
  SetEnvironmentVariableW(L"TMP", had_tmp ? saved : nullptr);
  EXPECT_EQ(temp, utf8_of(short_ + L"\\"));
  EXPECT_EQ(full_temp, utf8_of(long_ + L"\\"));

  ASSERT_TRUE(SetEnvironmentVariableW(L"TMP", (long_ + L"\\").c_str()));
  const std::string long_temp = call("GetDir", "temp", unicode_host());
  SetEnvironmentVariableW(L"TMP", had_tmp ? saved : nullptr);
  EXPECT_EQ(long_temp, utf8_of(long_ + L"\\"));
}

TEST_F(UnicodeHost, MachineNamesAreCountedAndAnsweredInCharacters) {
  wchar_t computer[MAX_COMPUTERNAME_LENGTH + 1] = {};
  DWORD size = MAX_COMPUTERNAME_LENGTH + 1;
  GetComputerNameW(computer, &size);
  EXPECT_EQ(call("ComputerName", "get", unicode_host()), utf8_of(computer));
  wchar_t user[256] = {};
  size = 256;
  GetUserNameW(user, &size);
  EXPECT_EQ(call("UserName", "", unicode_host()), utf8_of(user));
  // "set", a fourth character skipped whatever its size, and a name of 1 to
  // 15 characters (here 2 bytes each): 19 characters in all, 34 bytes.
  EXPECT_EQ(call("ComputerName", utf8_of(L"set\u00E4" + std::wstring(15, L'\u00F6')), unicode_host()),
            "true");
  EXPECT_EQ(call("ComputerName", utf8_of(L"set \u00F6"), unicode_host()), "true");
  EXPECT_EQ(call("ComputerName", utf8_of(L"set " + std::wstring(16, L'\u00F6')), unicode_host()),
            "error");
  EXPECT_EQ(call("ComputerName", utf8_of(L"set\u00E4"), unicode_host()), "error");
}

TEST_F(UnicodeHost, MessageBoxesShowCaptionAndTextInEveryScript) {
  StrayBoxGuard backstop(kTimeoutMs + 1000);
  const std::wstring caption = L"Gr\u00F6\u00DFe \u65E5\u672C \U0001F600";
  const std::wstring message = L"\u0395\u03BB\u03BB\u03B7\u03BD\u03B9\u03BA\u03AC; "
                               L"\u041A\u0438\u0440\u0438\u043B\u043B\u0438\u0446\u0430";
  OwnedBoxWatcher watcher(unicode_host(), IDNO, kTimeoutMs);
  EXPECT_EQ(call("MessageDialog", "yesno;question;" + utf8_of(caption) + ";" + utf8_of(message),
                 unicode_host()),
            "no");
  const OwnedBox seen = watcher.result();
  ASSERT_TRUE(seen.box.found);
  EXPECT_EQ(seen.box.wide_caption, caption);
  EXPECT_EQ(seen.box.wide_text, message);
  EXPECT_EQ(backstop.stop(), std::vector<std::string>{});
}

}  // namespace
