// The process commands against processes of the test's own: copies of a
// sleeper program under names that no other process has.
// Also run with LC_ALL=ja_JP.UTF-8 --gtest_filter=JapaneseLocale.*
#include <windows.h>
#include <tlhelp32.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <thread>
#include <vector>

#include "host/unique_handle.h"
#include "process/load_time_locale.h"
#include "sysinfo_import_patch.h"
#include "test_window.h"
#include "toolcase_dll.h"

using namespace toolcase;
using namespace toolcase::e2e;

namespace {

const std::string kPid = std::to_string(GetCurrentProcessId());
const std::string kVictimA = "victima-" + kPid + ".exe";
const std::string kVictimB = "victimb-" + kPid + ".exe";
constexpr DWORD kEndTimeoutMs = 5000;

std::wstring widen(const std::string& ascii) { return std::wstring(ascii.begin(), ascii.end()); }

std::wstring folder_of(const std::wstring& path) {
  return path.substr(0, path.find_last_of(L"\\/"));
}

std::wstring this_program() {
  wchar_t path[MAX_PATH] = {};
  GetModuleFileNameW(nullptr, path, MAX_PATH);
  return path;
}

// Calls visit(entry) for each entry of the process list, in its order.
template <typename Visit>
void for_each_listed(Visit&& visit) {
  const unique_snapshot snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
  if (!snapshot) return;
  PROCESSENTRY32W entry{};
  entry.dwSize = sizeof entry;
  for (BOOL more = Process32FirstW(snapshot.get(), &entry); more;
       more = Process32NextW(snapshot.get(), &entry)) {
    visit(entry);
  }
}

// Whether the process list shows that process under that file name (alone or
// at the end of a path).
bool listed_as(DWORD process_id, const std::wstring& file_name) {
  bool listed = false;
  for_each_listed([&](const PROCESSENTRY32W& entry) {
    const std::wstring name = entry.szExeFile;
    listed = listed || (entry.th32ProcessID == process_id && name.size() >= file_name.size() &&
                        _wcsicmp(name.c_str() + name.size() - file_name.size(), file_name.c_str()) == 0);
  });
  return listed;
}

bool ends_in_time(HANDLE process) {
  return WaitForSingleObject(process, kEndTimeoutMs) == WAIT_OBJECT_0;
}

bool still_running(HANDLE process) { return WaitForSingleObject(process, 0) == WAIT_TIMEOUT; }

DWORD exit_code(HANDLE process) {
  DWORD code = STILL_ACTIVE;
  GetExitCodeProcess(process, &code);
  return code;
}

// Copies of the sleeper in a folder of the test's own. At the end every copy
// that still runs is ended by the test's own handle, and the files removed.
class Sleepers {
 public:
  Sleepers() {
    static int serial = 0;
    wchar_t temp[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, temp);
    folder_ = std::wstring(temp) + L"toolcase-process-" + widen(kPid) + L"-" +
              std::to_wstring(++serial);
    CreateDirectoryW(folder_.c_str(), nullptr);
  }
  ~Sleepers() {
    for (const unique_process& process : processes_) {
      if (still_running(process.get())) {
        TerminateProcess(process.get(), 1);
        WaitForSingleObject(process.get(), kEndTimeoutMs);
      }
    }
    processes_.clear();
    for (const std::wstring& program : programs_) DeleteFileW(program.c_str());
    RemoveDirectoryW(folder_.c_str());
  }
  Sleepers(const Sleepers&) = delete;
  Sleepers& operator=(const Sleepers&) = delete;

  // Copies the sleeper as file_name, once; false when the file system cannot
  // hold that name.
  bool install(const std::wstring& file_name) {
    const std::wstring program = path_of(file_name);
    if (std::find(programs_.begin(), programs_.end(), program) != programs_.end()) return true;
    const std::wstring sleeper = folder_of(this_program()) + L"\\sleeper.exe";
    if (!CopyFileW(sleeper.c_str(), program.c_str(), FALSE)) return false;
    programs_.push_back(program);
    return true;
  }

  // Starts `count` copies under file_name, with the arguments, and waits until
  // the process list shows them; the handles stay the test's.
  std::vector<HANDLE> start(const std::wstring& file_name, int count,
                            const std::wstring& arguments = L"") {
    EXPECT_TRUE(install(file_name)) << "cannot copy the sleeper: " << GetLastError();
    const std::wstring program = path_of(file_name);
    std::vector<HANDLE> started;
    std::vector<DWORD> ids;
    for (int i = 0; i < count; ++i) {
      STARTUPINFOW startup{};
      startup.cb = sizeof startup;
      PROCESS_INFORMATION info{};
      std::wstring command_line = L"\"" + program + L"\" " + arguments;
      if (!CreateProcessW(program.c_str(), command_line.data(), nullptr, nullptr, FALSE, CREATE_NO_WINDOW,
                          nullptr, folder_.c_str(), &startup, &info)) {
        ADD_FAILURE() << "cannot start a sleeper: " << GetLastError();
        continue;
      }
      CloseHandle(info.hThread);
      processes_.emplace_back(info.hProcess);
      started.push_back(info.hProcess);
      ids.push_back(info.dwProcessId);
    }
    const DWORD deadline = GetTickCount() + 10000;
    for (DWORD id : ids) {
      while (!listed_as(id, file_name) && GetTickCount() < deadline) Sleep(20);
      EXPECT_TRUE(listed_as(id, file_name)) << "sleeper " << id << " never listed";
    }
    return started;
  }

  std::wstring path_of(const std::wstring& file_name) const { return folder_ + L"\\" + file_name; }

 private:
  std::wstring folder_;
  std::vector<std::wstring> programs_;
  std::vector<unique_process> processes_;
};

// The names of every function the module (of this program's bitness) imports
// by name.
std::vector<std::string> imported_functions(HMODULE module) {
  auto* base = reinterpret_cast<const BYTE*>(module);
  auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(base);
  auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
  const DWORD rva = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT].VirtualAddress;
  std::vector<std::string> names;
  for (auto* dll = reinterpret_cast<const IMAGE_IMPORT_DESCRIPTOR*>(base + rva); dll->Name; ++dll) {
    // The original thunks still hold the names; the others now hold addresses.
    for (auto* thunk = reinterpret_cast<const IMAGE_THUNK_DATA*>(base + dll->OriginalFirstThunk);
         thunk->u1.AddressOfData != 0; ++thunk) {
      if (IMAGE_SNAP_BY_ORDINAL(thunk->u1.Ordinal)) continue;
      names.emplace_back(
          reinterpret_cast<const IMAGE_IMPORT_BY_NAME*>(base + thunk->u1.AddressOfData)->Name);
    }
  }
  return names;
}

// TerminateProcess as Windows answers for a process that has just ended (a
// helper that ended with its program's main process), for one that is still
// being torn down and ends 100 ms later, for one that it will not end, and
// for one whose end it took but that does not come (I/O that never finishes).
BOOL WINAPI end_then_refuse(HANDLE process, UINT exit_code) {
  TerminateProcess(process, exit_code);
  WaitForSingleObject(process, kEndTimeoutMs);
  SetLastError(ERROR_ACCESS_DENIED);
  return FALSE;
}
BOOL WINAPI refuse_then_end_later(HANDLE process, UINT exit_code) {
  HANDLE ending = nullptr;
  DuplicateHandle(GetCurrentProcess(), process, GetCurrentProcess(), &ending, 0, FALSE,
                  DUPLICATE_SAME_ACCESS);
  std::thread([ending, exit_code] {
    Sleep(100);
    TerminateProcess(ending, exit_code);
    CloseHandle(ending);
  }).detach();
  SetLastError(ERROR_ACCESS_DENIED);
  return FALSE;
}
BOOL WINAPI refuse(HANDLE, UINT) {
  SetLastError(ERROR_ACCESS_DENIED);
  return FALSE;
}
BOOL WINAPI take_without_ending(HANDLE, UINT) { return TRUE; }

std::string id_of(HANDLE process) { return std::to_string(GetProcessId(process)); }

// The top-level window of that class, once its program has made it.
HWND window_made(const wchar_t* class_name) {
  HWND window = nullptr;
  for (int tries = 0; tries < 250 && (window = FindWindowW(class_name, nullptr)) == nullptr; ++tries) Sleep(20);
  return window;
}

bool code_page_is_double_byte(UINT code_page) {
  CPINFO info{};
  return GetCPInfo(code_page, &info) && info.MaxCharSize > 1;
}

}  // namespace

TEST(ToolHelpBinding, IsMadeAtRunTimeNotImported) {
  const std::vector<std::string> imports = imported_functions(toolcase_module());
  auto imported = [&](const char* name) {
    return std::find(imports.begin(), imports.end(), name) != imports.end();
  };
  EXPECT_TRUE(imported("OpenProcess"));
  EXPECT_TRUE(imported("TerminateProcess"));
  EXPECT_TRUE(imported("GetProcAddress"));
  for (const char* bound : {"CreateToolhelp32Snapshot", "Process32First", "Process32Next",
                            "Process32FirstW", "Process32NextW"}) {
    EXPECT_FALSE(imported(bound)) << bound;
  }
}

TEST(ProcessIsRunning, MatchesTheExecutableNameInAnyAsciiCaseOnly) {
  Sleepers sleepers;
  sleepers.start(widen(kVictimA), 2);
  const std::string base = "victima-" + kPid;
  for (const std::string& input : {kVictimA, "VICTIMA-" + kPid + ".EXE", "Victima-" + kPid + ".Exe"}) {
    EXPECT_EQ(call("ProcessIsRunning", input), "true") << input;
  }
  for (const std::string& input : {base, " " + kVictimA, kVictimA + " ", kVictimA.substr(1),
                                   "\\" + kVictimA, kVictimB}) {
    EXPECT_EQ(call("ProcessIsRunning", input), "false") << '"' << input << '"';
  }
}

TEST(ProcessIsRunning, SeesWineExplorer) {
  // Wine's explorer.exe holds the desktop: the first program to ask for the
  // desktop starts it, and it ends a moment after the last such program.
  ASSERT_NE(GetDesktopWindow(), nullptr);
  EXPECT_EQ(call("ProcessIsRunning", "explorer.exe"), "true");
  EXPECT_EQ(call("ProcessIsRunning", "EXPLORER.EXE"), "true");
}

TEST(KillProcess, EndsEveryCopyOfTheNameAndNothingElse) {
  Sleepers sleepers;
  const std::vector<HANDLE> victims_a = sleepers.start(widen(kVictimA), 3);
  const std::vector<HANDLE> victims_b = sleepers.start(widen(kVictimB), 2);
  ASSERT_EQ(victims_a.size(), 3u);
  ASSERT_EQ(victims_b.size(), 2u);

  EXPECT_EQ(call("KillProcess", "VICTIMA-" + kPid + ".EXE"), "true");
  for (HANDLE victim : victims_a) {
    ASSERT_TRUE(ends_in_time(victim));
    EXPECT_EQ(exit_code(victim), 0u);  // the exit code of the termination request
  }
  for (HANDLE survivor : victims_b) EXPECT_TRUE(still_running(survivor));

  EXPECT_EQ(call("ProcessIsRunning", kVictimA), "false");
  EXPECT_EQ(call("KillProcess", kVictimA), "false");
  EXPECT_EQ(call("ProcessIsRunning", kVictimB), "true");

  EXPECT_EQ(call("KillProcess", kVictimB), "true");
  for (HANDLE victim : victims_b) EXPECT_TRUE(ends_in_time(victim));
}

TEST(KillProcess, AnswersFalseAndEndsNothingWhenNothingMatches) {
  Sleepers sleepers;
  const std::vector<HANDLE> victims = sleepers.start(widen(kVictimB), 1);
  ASSERT_EQ(victims.size(), 1u);
  for (const std::string& input : {"no-such-" + kPid + ".exe", "victimb-" + kPid,
                                   " " + kVictimB, kVictimB + " "}) {
    EXPECT_EQ(call("KillProcess", input), "false") << '"' << input << '"';
  }
  EXPECT_TRUE(still_running(victims.front()));
}

// One deadline of 500 ms for the whole command: three processes that are
// never ended would take 1.5 s if each had its own.
TEST(KillProcess, AProcessThatEndsByItsTurnOrSoonAfterCountsAsEnded) {
  for (const auto& [replacement, ends] : {std::pair{&end_then_refuse, true},
                                          {&refuse_then_end_later, true}, {&refuse, false},
                                          {&take_without_ending, false}}) {
    Sleepers sleepers;
    const std::vector<HANDLE> victims = sleepers.start(widen(kVictimA), 3);
    const ImportPatch patch(toolcase_module(), "KERNEL32.dll", "TerminateProcess",
                            as_farproc(replacement));
    const DWORD start = GetTickCount();
    EXPECT_EQ(call("KillProcess", kVictimA), ends ? "true" : "false");
    EXPECT_LT(GetTickCount() - start, 1000u);
    for (HANDLE victim : victims) EXPECT_NE(still_running(victim), ends);
  }
}

// "pid:N" names one process while it runs: of two of the same name, only it
// is ended. Malformed forms and an ended process name none.
TEST(ProcessById, NamesOneProcessWhileItRuns) {
  Sleepers sleepers;
  const std::vector<HANDLE> twins = sleepers.start(widen(kVictimA), 2);
  ASSERT_EQ(twins.size(), 2u);
  const std::string first = "pid:" + id_of(twins[0]);
  EXPECT_EQ(call("ProcessIsRunning", first), "true");
  EXPECT_EQ(call("KillProcess", "PID:" + id_of(twins[0])), "true");
  ASSERT_TRUE(ends_in_time(twins[0]));
  EXPECT_EQ(exit_code(twins[0]), 0u);
  EXPECT_TRUE(still_running(twins[1]));
  for (const std::string& input : std::vector<std::string>{first, "pid:0", "pid:0" + id_of(twins[1]), "pid:", "pid:+" + id_of(twins[1]),
                                   "pid:" + id_of(twins[1]) + " ", "pid:4294967296"}) {
    EXPECT_EQ(call("ProcessIsRunning", input), "false") << input;
    EXPECT_EQ(call("KillProcess", input), "false") << input;
  }
  EXPECT_TRUE(still_running(twins[1]));
  EXPECT_EQ(call("ProcessIsRunning", "Pid:" + id_of(twins[1])), "true");
}

// One copy with a window, one without, one ended: Process by name, id and window.
TEST(Process, TellsTheIdsNamePathAndWindowOfATarget) {
  Sleepers sleepers;
  const std::wstring window_class = L"toolcase-sleeper-" + widen(kPid);
  const std::vector<HANDLE> shown = sleepers.start(widen(kVictimA), 1, window_class + L" sleeping");
  const std::vector<HANDLE> plain = sleepers.start(widen(kVictimA), 1);
  const std::vector<HANDLE> ended = sleepers.start(widen(kVictimB), 1);
  const HWND window = window_made(window_class.c_str());
  ASSERT_NE(window, nullptr);
  TerminateProcess(ended.front(), 1);
  ASSERT_TRUE(ends_in_time(ended.front()));
  const std::string a = id_of(shown.front()), b = id_of(plain.front()), hwnd = handle_number(window);
  const std::string path = utf8_of(sleepers.path_of(widen(kVictimA)));
  // In the process list's order, whichever Windows keeps.
  std::string both;
  for_each_listed([&](const PROCESSENTRY32W& entry) {
    const DWORD id = entry.th32ProcessID;
    if (id == GetProcessId(shown.front()) || id == GetProcessId(plain.front())) {
      both += (both.empty() ? "" : " ") + std::to_string(id);
    }
  });
  const std::pair<std::string, std::string> rows[] = {
      {"pid;" + kVictimA, both},          {"PID;HWND:" + hwnd, a},       {"pid;pid:" + b, b},
      {"name;VICTIMA-" + kPid + ".EXE", kVictimA}, {"name;pid:" + b, kVictimA},
      {"path;pid:" + a, path},            {"Path;" + kVictimA, path},   {"path;hwnd:" + hwnd, path},
      {"window;" + kVictimA, hwnd},       {"window;pid:" + a, hwnd},   {"window;pid:" + b, "false"},
      {"pid;pid:" + id_of(ended.front()), "false"}, {"name;" + kVictimB, "false"}, {"pid;hwnd:1", "false"},
      {"pids;" + kVictimA, "error"},      {"pid", "error"},             {"pid;", "error"},
      {"pid;pid:0", "error"},             {"name;hwnd:01", "error"},    {"window;pid:", "error"},
  };
  for (const auto& [input, answer] : rows) EXPECT_EQ(call("Process", input), answer) << input;
}

// A Store app's frame is drawn by the shell's frame host: the app inside it,
// a child window of another process, is the program it stands for.
TEST(Process, AStoreAppsFrameStandsForTheAppInside) {
  Sleepers sleepers;
  const std::vector<HANDLE> app = sleepers.start(widen(kVictimB), 1, L"Windows.UI.Core.CoreWindow app");
  const HWND core = window_made(L"Windows.UI.Core.CoreWindow");
  ASSERT_NE(core, nullptr);
  TestWindow frame(L"ApplicationFrameWindow", L"toolcase frame " + widen(kPid), true);
  SetWindowLongW(core, GWL_STYLE, WS_CHILD | WS_VISIBLE);
  ASSERT_NE(SetParent(core, frame.handle()), nullptr);
  ASSERT_TRUE(SetForegroundWindow(frame.handle()));
  EXPECT_EQ(call("Foreground", "pid"), id_of(app.front()));
  EXPECT_EQ(call("Foreground", "exe"), kVictimB);
  EXPECT_EQ(call("Foreground", "class"), "ApplicationFrameWindow");
  EXPECT_EQ(call("Foreground", "hwnd"), handle_number(frame.handle()));
  EXPECT_EQ(call("Process", "pid;hwnd:" + handle_number(frame.handle())), id_of(app.front()));
  EXPECT_EQ(call("Process", "window;" + kVictimB), handle_number(frame.handle()));
  SetParent(core, nullptr);
}

TEST(ProcessCommands, ThousandCallsLeaveNoHandleBehind) {
  Sleepers sleepers;
  sleepers.start(widen(kVictimB), 1);
  const std::vector<HANDLE> victims = sleepers.start(widen(kVictimA), 3);
  ASSERT_EQ(victims.size(), 3u);

  const std::uintptr_t before = next_handle_value();
  EXPECT_EQ(call("KillProcess", kVictimA), "true");  // opens and closes three processes
  for (int i = 0; i < 500; ++i) {
    ASSERT_EQ(call("ProcessIsRunning", kVictimB), "true");
    ASSERT_EQ(call("KillProcess", "no-such-" + kPid + ".exe"), "false");
  }
  EXPECT_EQ(next_handle_value(), before);
  for (HANDLE victim : victims) EXPECT_TRUE(ends_in_time(victim));
}

TEST(WesternLocale, LoadTimeFactsAreSingleByte) {
  if (code_page_is_double_byte(GetACP())) GTEST_SKIP() << "double-byte code page " << GetACP();
  const process::LoadTimeLocale& facts = process::load_time_locale();
  EXPECT_EQ(facts.ansi_code_page, GetACP());
  EXPECT_EQ(facts.name_encoding.lead_bytes, process::LeadByteTable{});
  EXPECT_FALSE(facts.name_encoding.double_byte_rules);
}

TEST(WesternLocale, LettersAbove0x7FAreNotCaseFolded) {
  if (GetACP() != 1252) GTEST_SKIP() << "code page " << GetACP();
  Sleepers sleepers;
  // U+00E4, byte 0xE4 in code page 1252; its capital is 0xC4.
  const std::wstring file_name = L"victim\u00E4-" + widen(kPid) + L".exe";
  if (!sleepers.install(file_name)) GTEST_SKIP() << "Wine cannot store this file name here";
  const std::vector<HANDLE> victims = sleepers.start(file_name, 1);
  ASSERT_EQ(victims.size(), 1u);
  EXPECT_EQ(call("ProcessIsRunning", "VICTIM\xE4-" + kPid + ".EXE"), "true");
  EXPECT_EQ(call("ProcessIsRunning", "victim\xC4-" + kPid + ".exe"), "false");
  EXPECT_EQ(call("KillProcess", "VICTIM\xC4-" + kPid + ".EXE"), "false");
  EXPECT_TRUE(still_running(victims.front()));
}

TEST(JapaneseLocale, LoadTimeFactsAreShiftJis) {
  if (GetACP() != 932) GTEST_SKIP() << "code page " << GetACP();
  const process::LoadTimeLocale& facts = process::load_time_locale();
  EXPECT_EQ(facts.ansi_code_page, 932u);
  for (unsigned b = 0; b < 256; ++b) {
    const bool lead = (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
    EXPECT_EQ(facts.name_encoding.lead_bytes[b], lead) << "byte " << b;
  }
  EXPECT_TRUE(facts.name_encoding.double_byte_rules);
}

TEST(JapaneseLocale, ABackslashTrailByteDoesNotSplitTheName) {
  if (GetACP() != 932) GTEST_SKIP() << "code page " << GetACP();
  Sleepers sleepers;
  // U+8868 is 0x95 0x5C in Shift-JIS: its second byte is '\'.
  const std::string after = "victimc-" + kPid + ".exe";
  const std::string whole = "\x95\x5C" + after;
  const std::wstring file_name = L"\u8868" + widen(after);
  if (!sleepers.install(file_name)) {
    GTEST_SKIP() << "Wine cannot store a Japanese file name here (no Unix locale ja_JP.UTF-8?)";
  }
  const std::vector<HANDLE> victims = sleepers.start(file_name, 2);
  ASSERT_EQ(victims.size(), 2u);

  EXPECT_EQ(call("ProcessIsRunning", whole), "true");
  EXPECT_EQ(call("ProcessIsRunning", "\x95\x5C" "VICTIMC-" + kPid + ".EXE"), "true");
  EXPECT_EQ(call("ProcessIsRunning", after), "false");
  EXPECT_EQ(call("KillProcess", after), "false");
  for (HANDLE victim : victims) EXPECT_TRUE(still_running(victim));

  EXPECT_EQ(call("KillProcess", whole), "true");
  for (HANDLE victim : victims) EXPECT_TRUE(ends_in_time(victim));
}
