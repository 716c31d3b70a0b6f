// Media against Windows' media sessions as the test stages them, the classic
// player's window on a thread of the test's own, and the media keys as a
// keyboard hook of the test sees them.
#include <windows.h>

#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <string>
#include <vector>

#include "hostcall/host_call.h"
#include "staged_media_sessions.h"
#include "sysinfo_import_patch.h"
#include "test_window.h"
#include "toolcase_dll.h"
#include "window_thread.h"

using namespace toolcase::e2e;
using std::chrono::steady_clock;

namespace {

int unload(HMODULE module) {
  using UnloadDll = int(__stdcall*)(int);
  return reinterpret_cast<UnloadDll>(reinterpret_cast<void (*)()>(GetProcAddress(module, "UnloadDll")))(0);
}

long long milliseconds_since(steady_clock::time_point start) {
  return std::chrono::duration_cast<std::chrono::milliseconds>(steady_clock::now() - start).count();
}

// The answer once it is `expected`, within 3 seconds (a reading a second).
std::string eventually(const std::string& input, const std::string& expected, const FreshToolcase* copy = nullptr) {
  std::string answer;
  for (int tries = 0; tries < 30 && (answer = copy ? copy->call("Media", input) : call("Media", input)) != expected;
       ++tries) {
    Sleep(100);
  }
  return answer;
}

const StagedSession kPlaying{L"Spotify.exe", L"Caf\u00e9\x01|Song", L"Art\u2028ist \u4e2d", L"Album", 4};
const StagedSession kPaused{L"Chrome", std::wstring(1000, L'\u00e4'), L"", L"", 5};
const MediaCounts kNothingHeld{0, 0, 0, 0, 0};

}  // namespace

TEST(MediaSessions, TheSessionThatPlaysElseThePausedOneAnswersWithItsTextsMadeFitForALine) {
  const TestWindow unicode_host(L"toolcase-media-host", L"", false);
  struct Row {
    const char* stage_name;
    MediaStage stage;
    std::vector<std::pair<std::string, std::string>> answers;  // as a Unicode host and an ANSI host call
  };
  const std::string kLong(898, '\0');
  const std::vector<Row> rows = {
      {"playing", {S_OK, 1, 0, kPlaying, {}},
       {{"", "Art ist \xe4\xb8\xad - Caf\xc3\xa9 |Song"}, {"title", "Caf\xc3\xa9 |Song"}, {"album", "Album"},
        {"player", "Spotify.exe"}, {"status", "playing"}, {"STATUS", "playing"}, {"volume", "error"}}},
      {"paused current, playing other", {S_OK, 1, 0, kPaused, {kPaused, kPlaying}}, {{"player", "Spotify.exe"}}},
      {"paused", {S_OK, 1, 0, std::nullopt, {kPaused}}, {{"status", "paused"}, {"artist", "false"}}},
      {"no session", {S_OK, 1, 0, std::nullopt, {}}, {{"status", "false"}, {"title", "false"}}},
      {"not registered", {REGDB_E_CLASSNOTREG, 1, 0, kPlaying, {}}, {{"status", "false"}}},
      {"failing operation", {S_OK, 3, 0, kPlaying, {}}, {{"status", "false"}}},
  };
  for (const Row& row : rows) {
    {
      const FreshToolcase copy;
      StagedMediaSessions staged(copy.module(), row.stage);
      for (const auto& [input, answer] : row.answers) {
        EXPECT_EQ(copy.call("Media", input, unicode_host.handle()), answer) << row.stage_name << ": " << input;
      }
      EXPECT_EQ(unload(copy.module()), 1);
    }
    EXPECT_EQ(StagedMediaSessions::counts(), kNothingHeld) << row.stage_name;
  }
  // 899 bytes at most, never half a character; in an ANSI host, '?' for what its code page lacks.
  const FreshToolcase copy;
  StagedMediaSessions staged(copy.module(), {S_OK, 1, 0, kPaused, {}});
  std::string halves;
  for (int i = 0; i < 449; ++i) halves += "\xc3\xa4";
  EXPECT_EQ(copy.call("Media", "", unicode_host.handle()), halves);
  staged.set({S_OK, 1, 0, kPlaying, {}});
  EXPECT_EQ(eventually("", "Art ist ? - Caf\xe9 |Song", &copy), "Art ist ? - Caf\xe9 |Song");
  EXPECT_EQ(unload(copy.module()), 1);
}

// A reader stuck in a call: the host waits a quarter second for its first
// reading, not again while it runs, and half a second at unload; the reader's reference keeps the code mapped, a
// reload meanwhile answers, and the library goes once the reader is back.
TEST(MediaSessions, AReaderStuckInACallStallsNeitherTheHostNorItsUnload) {
  std::string path;
  {
    const FreshToolcase copy;
    path = copy.path();
    StagedMediaSessions staged(copy.module(), {S_OK, 0, 1500, kPlaying, {}});
    auto start = steady_clock::now();
    EXPECT_EQ(copy.call("Media", "status"), "false");
    EXPECT_LT(milliseconds_since(start), 400);
    start = steady_clock::now();
    EXPECT_EQ(copy.call("Media", "status"), "false");  // the reader runs: no wait
    EXPECT_LT(milliseconds_since(start), 100);
    start = steady_clock::now();
    EXPECT_EQ(unload(copy.module()), 1);
    EXPECT_LT(milliseconds_since(start), 700);
    FreeLibrary(copy.module());
    ASSERT_NE(GetModuleHandleA(path.c_str()), nullptr) << "unmapped under its reader";
    ASSERT_EQ(LoadLibraryA(path.c_str()), copy.module());  // freed again by the copy
    staged.set({S_OK, 1, 0, kPlaying, {}});
    EXPECT_EQ(copy.call("Media", "album"), "Album");
    EXPECT_EQ(unload(copy.module()), 1);
  }
  for (int waited = 0; waited < 25 && GetModuleHandleA(path.c_str()) != nullptr; ++waited) Sleep(100);
  EXPECT_EQ(GetModuleHandleA(path.c_str()), nullptr);
  const MediaCounts counts = StagedMediaSessions::counts();
  EXPECT_EQ(counts, (MediaCounts{0, 0, 0, counts.cancels, 0}));
  EXPECT_GE(counts.cancels, 1);
}

// Sleep as Windows' default timer makes it: whole ticks of 15.6 ms.
void WINAPI tick_rounded_sleep(DWORD milliseconds) {
  Sleep(static_cast<DWORD>(std::ceil(milliseconds / 15.625) * 15.625));
}

// A routine of mIRC's that must not be paused calls with nopause: no wait at
// all. A first call waits a quarter second by the clock, whatever a Sleep
// slice lasts.
TEST(MediaSessions, WaitsAQuarterSecondByTheClockAndNeverWithNoPause) {
  const FreshToolcase copy;
  StagedMediaSessions staged(copy.module(), {S_OK, 0, 0, kPlaying, {}});  // the manager never comes
  const ImportPatch sleep(copy.module(), "KERNEL32.dll", "Sleep", as_farproc(&tick_rounded_sleep));
  char data[toolcase::host::kDataBufferSize] = "status";
  char parameters[toolcase::host::kDataBufferSize] = {};
  int removed = 0;
  auto start = steady_clock::now();
  toolcase::host::call_command(GetProcAddress(copy.module(), "Media"), nullptr, nullptr, data, parameters, FALSE,
                               TRUE, removed);
  EXPECT_STREQ(data, "false");
  EXPECT_LT(milliseconds_since(start), 50);
  EXPECT_EQ(unload(copy.module()), 1);
  start = steady_clock::now();
  EXPECT_EQ(copy.call("Media", "status"), "false");
  EXPECT_GE(milliseconds_since(start), 240);
  EXPECT_LT(milliseconds_since(start), 340);  // 25 slices of a tick would be 390 ms
  EXPECT_EQ(unload(copy.module()), 1);
}

int classic_status = 3;
LRESULT CALLBACK classic_player(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  if (message == WM_USER && lparam == 104) return classic_status;
  if (message == WM_APP) Sleep(2500);
  return DefWindowProcW(window, message, wparam, lparam);
}

// The classic player's window, made on the thread, and taken away there.
HWND open_classic_player(WindowThread& thread, const wchar_t* title) {
  HWND window = nullptr;
  thread.run([&] {
    WNDCLASSW window_class{};
    window_class.lpfnWndProc = classic_player;
    window_class.lpszClassName = L"Winamp v1.x";
    RegisterClassW(&window_class);
    window = CreateWindowW(L"Winamp v1.x", title, WS_OVERLAPPED, 0, 0, 100, 50, nullptr, nullptr, nullptr, nullptr);
  });
  return window;
}
void close_classic_player(WindowThread& thread, HWND window) {
  thread.run([&] {
    DestroyWindow(window);
    UnregisterClassW(L"Winamp v1.x", nullptr);
  });
}

TEST(ClassicPlayer, AnswersFromItsTitleAndStatusAndNotWhileItsThreadSleeps) {
  WindowThread thread;
  const HWND window = open_classic_player(thread, L"12. Band - Song - Winamp [Paused]");
  EXPECT_EQ(eventually("", "Band - Song"), "Band - Song");
  EXPECT_EQ(call("Media", "status"), "paused");
  EXPECT_EQ(call("Media", "player"), "Winamp");
  EXPECT_EQ(call("Media", "artist"), "false");
  classic_status = 1;
  SetWindowTextW(window, L"Song - Winamp");
  EXPECT_EQ(eventually("title", "Song"), "Song");
  classic_status = 0;
  EXPECT_EQ(eventually("status", "stopped"), "stopped");
  EXPECT_EQ(call("Media", ""), "false");
  PostMessageW(window, WM_APP, 0, 0);
  EXPECT_EQ(eventually("status", "false"), "false");
  close_classic_player(thread, window);
  EXPECT_EQ(unload(toolcase_module()), 1);
}

std::vector<KBDLLHOOKSTRUCT> keys_seen;
LRESULT CALLBACK swallow_keys(int code, WPARAM, LPARAM key) {
  if (code == HC_ACTION) keys_seen.push_back(*reinterpret_cast<KBDLLHOOKSTRUCT*>(key));
  return 1;
}

TEST(MediaKeys, EachIsPressedAndReleasedAsAKeyboardSendsIt) {
  WindowThread thread;
  HHOOK hook = nullptr;
  thread.run([&] { hook = SetWindowsHookExW(WH_KEYBOARD_LL, swallow_keys, GetModuleHandleW(nullptr), 0); });
  ASSERT_NE(hook, nullptr);
  const std::vector<std::pair<std::string, DWORD>> keys = {
      {"toggle", VK_MEDIA_PLAY_PAUSE}, {"Next", VK_MEDIA_NEXT_TRACK}, {"previous", VK_MEDIA_PREV_TRACK}, {"stop", VK_MEDIA_STOP}};
  for (const auto& [input, key] : keys) {
    thread.run([] { keys_seen.clear(); });
    EXPECT_EQ(call("Media", input), "true");
    std::vector<std::pair<DWORD, DWORD>> seen;
    for (int waited = 0; waited < 20 && seen.size() < 2; ++waited, Sleep(50)) {
      thread.run([&] { seen.clear(); for (const auto& k : keys_seen) seen.emplace_back(k.vkCode, k.flags & (LLKHF_EXTENDED | LLKHF_UP)); });
    }
    EXPECT_EQ(seen, (std::vector<std::pair<DWORD, DWORD>>{{key, LLKHF_EXTENDED}, {key, LLKHF_EXTENDED | LLKHF_UP}})) << input;
  }
  thread.run([&] { UnhookWindowsHookEx(hook); });
}

// A key acts on the player that Media names, through its session's own
// request: the playing one beside a paused current one; false when it
// refuses or gives no answer within a quarter second; no keyboard key then,
// and a key answered false while the reader waits on an earlier one is
// never pressed later.
TEST(MediaKeys, ActOnTheSessionThatMediaNames) {
  WindowThread thread;
  HHOOK hook = nullptr;
  thread.run([&] { hook = SetWindowsHookExW(WH_KEYBOARD_LL, swallow_keys, GetModuleHandleW(nullptr), 0); });
  thread.run([] { keys_seen.clear(); });
  {
    const FreshToolcase copy;
    MediaStage stage{S_OK, 1, 0, kPaused, {kPaused, kPlaying}};
    StagedMediaSessions staged(copy.module(), stage);
    EXPECT_EQ(eventually("player", "Spotify.exe", &copy), "Spotify.exe");
    StagedMediaSessions::keys_pressed();
    EXPECT_EQ(copy.call("Media", "toggle"), "true");
    stage.key_answer = false;
    staged.set(stage);
    EXPECT_EQ(copy.call("Media", "next"), "false");
    stage.key_status = 0;
    staged.set(stage);
    const auto start = steady_clock::now();
    EXPECT_EQ(copy.call("Media", "stop"), "false");
    EXPECT_LT(milliseconds_since(start), 350);  // a quarter second, and a loaded machine's delays
    EXPECT_EQ(copy.call("Media", "toggle"), "false");
    Sleep(2500);  // the reader gives up on the stop's answer after 2 s
    EXPECT_EQ(StagedMediaSessions::keys_pressed(),
              (std::vector<std::pair<std::wstring, int>>{{L"Spotify.exe", 20}, {L"Spotify.exe", 16}, {L"Spotify.exe", 12}}));
    EXPECT_EQ(unload(copy.module()), 1);
  }
  std::size_t seen = 1;
  thread.run([&] { seen = keys_seen.size(); });
  EXPECT_EQ(seen, 0u);
  // The classic player window plays: the key goes out as a keyboard's.
  const HWND window = open_classic_player(thread, L"1. Band - Song - Winamp");
  classic_status = 1;
  EXPECT_EQ(eventually("player", "Winamp"), "Winamp");
  EXPECT_EQ(call("Media", "next"), "true");
  for (int waited = 0; waited < 20 && seen < 2; ++waited, Sleep(50)) thread.run([&] { seen = keys_seen.size(); });
  EXPECT_EQ(seen, 2u);
  close_classic_player(thread, window);
  thread.run([&] { UnhookWindowsHookEx(hook); });
  EXPECT_EQ(unload(toolcase_module()), 1);
  const MediaCounts counts = StagedMediaSessions::counts();
  EXPECT_EQ(counts, (MediaCounts{0, 0, 0, counts.cancels, 0}));
}
