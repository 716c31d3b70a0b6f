// Watches against a host of the test's own: a window on the test's thread
// that takes what it is sent through the shared mapping, as mIRC does, and
// whose signal handler reads the events until WatchNext answers nothing.
#include <windows.h>
#include <tlhelp32.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <functional>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "staged_media_sessions.h"
#include "sysinfo_import_patch.h"
#include "test_window.h"
#include "toolcase_dll.h"

using namespace toolcase::e2e;

namespace {

struct Host {
  bool refuses = false;               // answers 0
  bool ansi = true, unicode = true;   // the forms of text it takes, as mIRC 7 does
  std::string command_prefix = "/";   // $comchar's value
  std::vector<std::string> commands;  // each with its mapping's name
  std::vector<std::string> events;    // read by the default handler
  std::function<void()> on_signal;    // in place of the default handler
  int signals = 0;
};
Host host;
HWND host_window = nullptr;

LRESULT CALLBACK host_proc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  if (message != WM_USER + 200 && message != WM_USER + 201) return DefWindowProcA(window, message, wparam, lparam);
  const bool unicode = (wparam & 8) != 0;
  if (host.refuses || !(unicode ? host.unicode : host.ansi)) return 0;
  const std::string name = "mIRC" + std::to_string(lparam);
  const HANDLE mapping = OpenFileMappingA(FILE_MAP_WRITE, FALSE, name.c_str());
  auto* text = static_cast<char*>(MapViewOfFile(mapping, FILE_MAP_WRITE, 0, 0, 0));
  const std::string line = unicode ? utf8_of(reinterpret_cast<wchar_t*>(text)) : text;
  host.commands.push_back(line + " " + name);
  const std::string value = line == "$comchar" ? host.command_prefix : "7.77";
  if (message == WM_USER + 201 && !unicode) std::strcpy(text, value.c_str());
  if (message == WM_USER + 201 && unicode) MultiByteToWideChar(CP_UTF8, 0, value.c_str(), -1, reinterpret_cast<wchar_t*>(text), 64);
  UnmapViewOfFile(text);
  CloseHandle(mapping);
  if (message == WM_USER + 200) {
    ++host.signals;
    if (host.on_signal) return host.on_signal(), 1;
    for (std::string e; !(e = call("WatchNext", "", host_window)).empty();) host.events.push_back(e);
  }
  return 1;
}

// Runs the thread's messages, as the host's loop does, until `events` have come or the time is up.
bool pump(DWORD milliseconds, std::size_t events = SIZE_MAX) {
  for (const DWORD start = GetTickCount(); GetTickCount() - start < milliseconds;) {
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&message);
    if (host.events.size() >= events) return true;
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 50, QS_ALLINPUT);
  }
  return false;
}

int unload(HMODULE module, int timeout) {
  using UnloadDll = int(__stdcall*)(int);
  return reinterpret_cast<UnloadDll>(reinterpret_cast<void (*)()>(GetProcAddress(module, "UnloadDll")))(timeout);
}

class WatchTest : public ::testing::Test {
 protected:
  void SetUp() override {
    host = Host{};
    static const TestWindow window(unique_name("toolcase-host"), "", false, host_proc);
    host_window = window.handle();
  }
  void TearDown() override {
    call("WatchStop", "", host_window);
    pump(1100);
  }
  static std::string watch(const std::string& input) { return call("Watch", input, host_window); }
};

}  // namespace

TEST_F(WatchTest, ReportsAWindowAsItComesToMatchAndStops) {
  const std::string title = unique_name("toolcase watched");
  const TestWindow other(unique_name("toolcase-other"), unique_name("toolcase other"), true);
  ASSERT_EQ(watch("W-1;window " + title + "*"), "true");
  EXPECT_EQ(watch(""), "W-1");
  auto window = std::make_unique<TestWindow>(unique_name("toolcase-watched"), title, true);
  const std::string id = std::to_string(reinterpret_cast<std::uintptr_t>(window->handle()) & 0xFFFFFFFF);
  const std::string again = title + " again";
  for (const auto& step : std::vector<std::function<void()>>{
           [] {}, [&] { SetWindowTextA(window->handle(), "renamed"); },
           [&] { host.command_prefix = "#", SetWindowTextA(window->handle(), again.c_str()); },
           [&] { ShowWindow(window->handle(), SW_HIDE); }, [&] { ShowWindow(window->handle(), SW_SHOWNA); },
           [&] { window.reset(); }}) {
    step();
    EXPECT_TRUE(pump(3000, host.events.size() + 1));
  }
  const auto event = [&](const char* what, const std::string& as) { return "W-1 " + (what + (" " + id)) + " " + as; };
  EXPECT_EQ(host.events, std::vector<std::string>({event("open", title), event("close", title), event("open", again),
                                                   event("close", again), event("open", again), event("close", again)}));
  // Each ring behind the prefix of its moment.
  const auto rings = std::count_if(host.commands.begin(), host.commands.end(), [](const std::string& c) { return c[0] == '/'; });
  EXPECT_EQ(host.commands.back().substr(0, 17), "#.signal toolcase");
  EXPECT_EQ(rings, 2);
}

// The window in front at the start, then each one that comes in front, and
// nothing while it stays there; an untitled one's line ends after its process.
TEST_F(WatchTest, ReportsEachWindowThatComesInFront) {
  const std::string title = unique_name("toolcase front");
  const TestWindow titled(unique_name("toolcase-front"), title, true);
  const PlainWindow untitled(nullptr, "STATIC", true);
  ASSERT_TRUE(SetForegroundWindow(titled.handle()));
  ASSERT_EQ(watch("f;front"), "true");
  for (const HWND front : {titled.handle(), untitled.handle(), titled.handle()}) {
    ASSERT_TRUE(SetForegroundWindow(front));
    EXPECT_TRUE(pump(3000, host.events.size() + 1));
  }
  EXPECT_FALSE(pump(1500, 4));
  const auto line = [](HWND window, const std::string& tail) {
    return "f front " + handle_number(window) + " " + std::to_string(GetCurrentProcessId()) + tail;
  };
  EXPECT_EQ(host.events, std::vector<std::string>({line(titled.handle(), " " + title), line(untitled.handle(), ""),
                                                   line(titled.handle(), " " + title)}));
}

// Windows' notification state, staged: not present (locked), then accepting
// notifications (here) again.
int notification_state = 5;
HRESULT WINAPI staged_notification_state(int* state) { return *state = notification_state, S_OK; }

TEST_F(WatchTest, ReportsPresenceAtTheStartAndAtEachChange) {
  const StagedLookup lookup(toolcase_module(), {{"SHQueryUserNotificationState", as_farproc(&staged_notification_state)}});
  ASSERT_EQ(watch("here;presence"), "true");
  for (const int state : {5, 1, 5}) {
    notification_state = state;
    EXPECT_TRUE(pump(3000, host.events.size() + 1));
  }
  EXPECT_FALSE(pump(1500, 4));
  EXPECT_EQ(host.events, std::vector<std::string>({"here presence here", "here presence locked", "here presence here"}));
}

// The ring is a line "as if typed" behind the user's command prefix, in
// Unicode where the host takes it; a host that gives no one character for it
// is not rung. A reading that fails for a tick ends nothing; another
// session's process is not the user's, one whose session only the terminal
// services tell (run as administrator) is.
bool readings_fail = false;
BOOL WINAPI staged_enumeration(WNDENUMPROC examine, LPARAM value) { return !readings_fail && EnumWindows(examine, value); }
HANDLE WINAPI staged_snapshot(DWORD flags, DWORD process) {
  return readings_fail ? INVALID_HANDLE_VALUE : CreateToolhelp32Snapshot(flags, process);
}
DWORD other_session_process = 0, elevated_process = 0;
BOOL WINAPI staged_session_of(DWORD process, DWORD* session) {
  if (process == elevated_process) return SetLastError(ERROR_ACCESS_DENIED), FALSE;
  return ProcessIdToSessionId(process, session) && (*session += process == other_session_process ? 7 : 0, TRUE);
}

TEST_F(WatchTest, RingsBehindTheCommandPrefixAndTrustsOnlyWhatItRead) {
  const std::string title = unique_name("toolcase kept");
  const TestWindow kept(unique_name("toolcase-kept"), title, true);
  std::string program = toolcase_dll_path();
  program.replace(program.rfind('\\') + 1, std::string::npos, "sleeper.exe");
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION mine{}, theirs{}, elevated{};
  for (PROCESS_INFORMATION* started : {&mine, &theirs, &elevated}) {
    ASSERT_TRUE(CreateProcessA(program.c_str(), nullptr, nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, started));
  }
  other_session_process = theirs.dwProcessId;
  elevated_process = elevated.dwProcessId;
  for (const auto& [prefix, ring, ansi] : {std::tuple{"!", "!.signal toolcase", true}, {"", "", true}, {"ab", "", true},
                                           {"→", "→.signal toolcase", false}}) {
    const FreshToolcase copy;
    const ImportPatch sessions(copy.module(), "KERNEL32.dll", "ProcessIdToSessionId", as_farproc(&staged_session_of));
    const ImportPatch windows(copy.module(), "USER32.dll", "EnumWindows", as_farproc(&staged_enumeration));
    const StagedLookup snapshots(copy.module(), {{"CreateToolhelp32Snapshot", as_farproc(&staged_snapshot)}});
    host = Host{};
    host.command_prefix = prefix;
    host.ansi = ansi;
    host.on_signal = [&] {
      for (std::string e; !(e = copy.call("WatchNext", "", host_window)).empty();) host.events.push_back(e);
    };
    ASSERT_EQ(copy.call("Watch", "w;window " + title, host_window), "true");
    ASSERT_EQ(copy.call("Watch", "p;process sleeper.exe", host_window), "true");
    EXPECT_EQ(pump(3000, 3), *ring != '\0');
    readings_fail = true;
    EXPECT_FALSE(pump(1500, 4));
    readings_fail = false;
    // Not rung: the events wait for WatchNext.
    for (std::string e; !*ring && !(e = copy.call("WatchNext", "", host_window)).empty();) host.events.push_back(e);
    std::vector<std::string> expected = {"w open " + handle_number(kept.handle()) + " " + title,
                                         "p start " + std::to_string(mine.dwProcessId),
                                         "p start " + std::to_string(elevated.dwProcessId)};
    for (auto* lines : {&expected, &host.events}) std::sort(lines->begin() + (lines->empty() ? 0 : 1), lines->end());
    EXPECT_EQ(host.events, expected);
    const std::string last = host.commands.back().substr(0, host.commands.back().rfind(' '));
    EXPECT_EQ(last, *ring ? ring : "$comchar");
    EXPECT_EQ(unload(copy.module(), 0), 1);
  }
  for (const PROCESS_INFORMATION& started : {mine, theirs, elevated}) {
    TerminateProcess(started.hProcess, 0);
    CloseHandle(started.hProcess);
    CloseHandle(started.hThread);
  }
}

// Keyboard input only: a pointer move could reach other tests' windows.
TEST_F(WatchTest, ReportsTheUserIdleThenBackAndAProcessThatStartsAndEnds) {
  ASSERT_EQ(watch("away;idle 1"), "true");
  EXPECT_TRUE(pump(3000, 1));
  INPUT key[2] = {};
  key[0].type = key[1].type = INPUT_KEYBOARD;
  key[0].ki.wVk = key[1].ki.wVk = VK_F24;
  key[1].ki.dwFlags = KEYEVENTF_KEYUP;
  SendInput(2, key, sizeof(INPUT));
  EXPECT_TRUE(pump(3000, 2));
  ASSERT_EQ(host.events.size(), 2u);
  EXPECT_EQ(host.events[0].substr(0, 10) + host.events[1].substr(0, 10), "away idle away back ");
  // The sleeper beside this program runs under its own name only here.
  ASSERT_EQ(call("WatchStop", "away", host_window), "true");
  ASSERT_EQ(watch("p;process SLEEPER.exe"), "true");
  char program[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, program, MAX_PATH);
  std::strcpy(std::strrchr(program, '\\') + 1, "sleeper.exe");
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION started{};
  ASSERT_TRUE(CreateProcessA(program, nullptr, nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &started));
  EXPECT_TRUE(pump(3000, 3));
  TerminateProcess(started.hProcess, 0);
  EXPECT_TRUE(pump(3000, 4));
  const std::string id = std::to_string(started.dwProcessId);
  EXPECT_EQ(std::vector<std::string>(host.events.begin() + 2, host.events.end()),
            std::vector<std::string>({"p start " + id, "p end " + id}));
  CloseHandle(started.hProcess);
  CloseHandle(started.hThread);
}

// 16 watches of the same 64 windows: 1,024 events at the first reading.
TEST_F(WatchTest, RingsOnceUntilReadAndCountsWhatTheQueueCannotHold) {
  std::vector<std::unique_ptr<TestWindow>> windows;
  const std::string title = unique_name("toolcase flood");
  for (int i = 0; i < 64; ++i) windows.push_back(std::make_unique<TestWindow>(unique_name("toolcase-flood"), title, true));
  for (int i = 1; i <= 16; ++i) ASSERT_EQ(watch("f" + std::to_string(i) + ";window " + title), "true");
  EXPECT_EQ(watch("f17;idle 5"), "error");
  host.on_signal = [] { pump(2500); };  // a loop of its own, where the timer still comes
  pump(3500);
  EXPECT_EQ(host.signals, 1);
  for (std::string e; !(e = call("WatchNext", "", host_window)).empty();) host.events.push_back(e);
  ASSERT_EQ(host.events.size(), 256u);
  EXPECT_EQ(host.events.back(), "* lost 769");
}

TEST_F(WatchTest, AnswersFalseToAHostThatRefusesAndErrorOffItsThread) {
  host.refuses = true;
  EXPECT_EQ(watch("a;idle 5"), "false");
  EXPECT_EQ(watch(""), "");
  host.refuses = false;
  std::string from_another_thread;
  std::thread([&] { from_another_thread = call("Watch", "a;idle 5", host_window); }).join();
  EXPECT_EQ(from_another_thread, "error");
  ASSERT_EQ(watch("a;idle 5"), "true");
  const TestWindow second(unique_name("toolcase-host"), "", false, host_proc);
  EXPECT_EQ(call("Watch", "b;idle 5", second.handle()), "error");
  EXPECT_EQ(unload(toolcase_module(), 1), 0);
  EXPECT_EQ(call("WatchStop", "A", host_window), "true");
  EXPECT_EQ(call("WatchStop", "a", host_window), "error");
  EXPECT_EQ(unload(toolcase_module(), 1), 1);
}

// Someone else's mapping is never written.
TEST_F(WatchTest, SkipsAMappingNameHeldBySomeoneElse) {
  const HANDLE held = CreateFileMappingA(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, 4096, "mIRC1");
  auto* text = static_cast<char*>(MapViewOfFile(held, FILE_MAP_WRITE, 0, 0, 0));
  std::strcpy(text, "theirs");
  ASSERT_EQ(watch("s;idle 5"), "true");
  EXPECT_EQ(host.commands, std::vector<std::string>({"$version mIRC2"}));
  EXPECT_STREQ(text, "theirs");
  UnmapViewOfFile(text);
  CloseHandle(held);
}

// mIRC unloads the library from the script that its ring ran, or frees it
// with or without UnloadDll: it stays loaded while it ticks, never longer.
TEST_F(WatchTest, StaysLoadedWhileItTicksAndGoesWithItsLastReference) {
  const std::string title = unique_name("toolcase shown");
  const TestWindow shown(unique_name("toolcase-shown"), title, true);
  const auto loaded = [](const std::string& path) { return GetModuleHandleA(path.c_str()) != nullptr; };
  std::string unloaded_in_ring, unloaded, freed;
  {
    const FreshToolcase copy;
    unloaded_in_ring = copy.path();
    const HMODULE script = LoadLibraryA(copy.path().c_str());
    host.on_signal = [&] {
      unload(copy.module(), 0);
      FreeLibrary(script);
    };
    ASSERT_EQ(copy.call("Watch", "x;window " + title, host_window), "true");
    pump(3000);
    EXPECT_EQ(host.signals, 1);
  }
  host.on_signal = [] {};
  EXPECT_TRUE(loaded(unloaded_in_ring)) << "freed inside its own tick";
  {
    const FreshToolcase copy;
    unloaded = copy.path();
    ASSERT_EQ(copy.call("Watch", "y;window " + title, host_window), "true");
    EXPECT_EQ(unload(copy.module(), 0), 1);
  }
  EXPECT_FALSE(loaded(unloaded));
  {
    const FreshToolcase copy;
    freed = copy.path();
    ASSERT_EQ(copy.call("Watch", "z;window " + title, host_window), "true");
  }
  host.signals = 0;
  pump(2500);  // a tick of the library that was unloaded would crash here
  EXPECT_TRUE(loaded(freed));
  EXPECT_EQ(host.signals, 1);  // z's
  // As mIRC does: loaded again, then unloaded and freed; or loaded again,
  // told so through LoadDll, and freed.
  for (const std::string& path : {freed, unloaded_in_ring}) {
    const HMODULE module = LoadLibraryA(path.c_str());
    if (path == freed) {
      EXPECT_EQ(unload(module, 0), 1);
    } else {
      reinterpret_cast<void(__stdcall*)(void*)>(reinterpret_cast<void (*)()>(GetProcAddress(module, "LoadDll")))(nullptr);
    }
    FreeLibrary(module);
    EXPECT_FALSE(loaded(path)) << path;
  }
}

// A browser fills in the artist late: a new track is told once read alike
// twice. A player between two tracks keeps its state.
TEST_F(WatchTest, ReportsWhatPlaysThenEachNewTrackOnce) {
  const FreshToolcase copy;
  StagedSession song{L"Player", L"One", L"Band", L"", 4};
  StagedMediaSessions staged(copy.module(), {S_OK, 1, 0, song, {}});
  host.on_signal = [&] {
    for (std::string e; !(e = copy.call("WatchNext", "", host_window)).empty();) host.events.push_back(e);
  };
  ASSERT_EQ(copy.call("Watch", "np;media", host_window), "true");
  EXPECT_TRUE(pump(3000, 2));
  song.title = L"Two";
  staged.set({S_OK, 1, 0, song, {}});
  EXPECT_FALSE(pump(4000, 4));
  song.status = 2;  // changing tracks: still playing, no status line
  staged.set({S_OK, 1, 0, song, {}});
  EXPECT_FALSE(pump(2500, 4));
  EXPECT_EQ(copy.call("Media", "status"), "playing");
  song.status = 1;  // opened: stopped
  staged.set({S_OK, 1, 0, song, {}});
  EXPECT_TRUE(pump(3000, 4));
  EXPECT_EQ(host.events, std::vector<std::string>({"np status playing", "np track Band - One", "np track Band - Two",
                                                   "np status stopped"}));
  EXPECT_EQ(unload(copy.module(), 0), 1);
}
