// The window commands against top-level windows this program creates, and
// against Wine's notepad as a window of another process.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <tuple>
#include <vector>

#include "host/module_strings.h"
#include "host/unique_handle.h"
#include "linked_commands.h"
#include "sysinfo_import_patch.h"
#include "test_window.h"
#include "toolcase_dll.h"

using namespace toolcase;
using namespace toolcase::e2e;

namespace {

// The nine commands that answer "error" when no window matches.
const std::vector<const char*> kErrorWhenNotFound = {
    "WindowShow",     "WindowHide",     "WindowEnable", "WindowDisable", "WindowActivate",
    "WindowMinimize", "WindowMaximize", "WindowClose",  "WindowText"};

std::string caption_of(HWND window) {
  char caption[1024] = {};
  GetWindowTextA(window, caption, sizeof caption);
  return caption;
}

// What the recording window procedure saw, and how it behaves.
struct Recorder {
  int close_requests = 0;
  bool visibility_locked = false;  // refuses every show and hide
};
Recorder recorded;

// Records WM_CLOSE and refuses to close; when asked, keeps the window's
// visibility as it is.
LRESULT CALLBACK recording_proc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  if (message == WM_CLOSE) {
    ++recorded.close_requests;
    return 0;
  }
  if (message == WM_WINDOWPOSCHANGING && recorded.visibility_locked) {
    reinterpret_cast<WINDOWPOS*>(lparam)->flags &= ~(SWP_SHOWWINDOW | SWP_HIDEWINDOW);
  }
  return DefWindowProcA(window, message, wparam, lparam);
}

// A window that never delivers its caption.
LRESULT CALLBACK silent_caption_proc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  if (message == WM_GETTEXT) return 0;
  return DefWindowProcA(window, message, wparam, lparam);
}

// A window that fills the whole buffer it is given and leaves no NUL.
LRESULT CALLBACK unterminated_caption_proc(HWND window, UINT message, WPARAM wparam,
                                           LPARAM lparam) {
  if (message == WM_GETTEXT) {
    std::fill_n(reinterpret_cast<char*>(lparam), wparam, 'x');
    return static_cast<LRESULT>(wparam);
  }
  return DefWindowProcA(window, message, wparam, lparam);
}

// EnableWindow as Windows answers for a window that it shields (one of a
// program run as administrator): nothing changes, the report is as ever.
BOOL WINAPI enable_nothing(HWND window, BOOL) { return !IsWindowEnabled(window); }

// A hidden top-level window whose handle has bit 31 set: Wine gives one once
// a handle slot has been freed and taken again 32,767 times. Menus take their
// handles from the same table, and much faster than windows.
HWND window_with_bit_31(const std::string& class_name) {
  constexpr auto kBit31 = std::uintptr_t{0x80000000u};
  for (int i = 0; i < 70000; ++i) {
    const HMENU menu = CreateMenu();
    DestroyMenu(menu);
    if ((reinterpret_cast<std::uintptr_t>(menu) & kBit31) != 0) break;
  }
  const HWND window = CreateWindowExA(0, class_name.c_str(), "toolcase bit 31", WS_POPUP, 0, 0, 10, 10,
                                      nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
  if ((reinterpret_cast<std::uintptr_t>(window) & kBit31) != 0) return window;
  DestroyWindow(window);
  return nullptr;
}

BOOL WINAPI refuse_image_name(HANDLE, DWORD, LPWSTR, PDWORD) {
  SetLastError(ERROR_ACCESS_DENIED);
  return FALSE;
}
// The lock screen of Windows 10 and 11: a window of LockApp.exe.
BOOL WINAPI lock_app_image_name(HANDLE, DWORD, LPWSTR name, PDWORD size) {
  const std::wstring path = L"C:\\Windows\\SystemApps\\Microsoft.LockApp_cw5n1h2txyewy\\LOCKAPP.EXE";
  return *size = static_cast<DWORD>(path.copy(name, path.size())), name[path.size()] = L'\0', TRUE;
}
HWND WINAPI no_window_in_front() { return nullptr; }

class RecordingWindowTest : public ::testing::Test {
 protected:
  void SetUp() override { recorded = Recorder{}; }
};

}  // namespace

TEST(Lookup, TriesTheClassNameBeforeTheTitle) {
  const std::string name = unique_name("toolcase-both");
  TestWindow by_class(name, unique_name("toolcase title"), false);
  TestWindow by_title(unique_name("toolcase-other"), name, true);
  EXPECT_EQ(call("WindowText", name), caption_of(by_class.handle()));
  EXPECT_EQ(call("WindowIsVisible", name), "false");
  // A title alone finds its window.
  EXPECT_EQ(call("WindowText", caption_of(by_class.handle())), caption_of(by_class.handle()));
}

TEST(Lookup, PassesTheNameUntrimmed) {
  const std::string title = unique_name("toolcase blank end") + " ";
  TestWindow window(unique_name("toolcase-blank"), title, true);
  EXPECT_EQ(call("WindowIsVisible", title), "true");
  EXPECT_EQ(call("WindowIsVisible", title.substr(0, title.size() - 1)), "false");
  EXPECT_EQ(call("WindowIsVisible", " " + title), "false");
}

TEST(Lookup, NoWindowAnswersFalseForIsVisibleAndErrorForTheOthers) {
  for (const std::string& name : {unique_name("toolcase-nothing"), std::string(899, 'q')}) {
    EXPECT_EQ(call("WindowIsVisible", name), "false");
    for (const char* command : kErrorWhenNotFound) {
      EXPECT_EQ(call(command, name), "error") << command;
    }
    EXPECT_EQ(call("ChangeWindowText", name.substr(0, 800) + ";caption"), "error");
  }
}

// "hwnd:N" in every command that takes a window: a top-level window by its
// handle's low 32 bits; a destroyed, child or message-only window's handle,
// its slot alone (upper 16 bits 0 or 0xFFFF, which Windows would take for
// whatever window holds the slot), and a number malformed or past 32 bits,
// name none.
TEST(Lookup, HwndNamesATopLevelWindowByItsHandleNumber) {
  const std::string title = unique_name("toolcase hwnd");
  TestWindow window(unique_name("toolcase-hwnd"), title, true);
  const std::string number = handle_number(window.handle());
  const PlainWindow child(window.handle(), "STATIC", true);
  const PlainWindow message_only(HWND_MESSAGE, "STATIC", false);
  ASSERT_NE(message_only.handle(), nullptr);
  HWND destroyed = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr);
  const std::string destroyed_number = handle_number(destroyed);
  DestroyWindow(destroyed);
  const HWND high = window_with_bit_31(window.class_name());
  ASSERT_NE(high, nullptr);
  const HWND owned_popup = CreateWindowExA(0, "STATIC", "", WS_POPUP | WS_VISIBLE, 0, 0, 1, 1, high,
                                           nullptr, nullptr, nullptr);

  EXPECT_EQ(call("WindowText", "HWND:" + number), title);
  EXPECT_EQ(call("WindowText", "hWnd:" + handle_number(high)), "toolcase bit 31");
  EXPECT_EQ(call("WindowIsVisible", "hwnd:" + handle_number(owned_popup)), "true");
  EXPECT_EQ(call("ChangeWindowText", "hwnd:" + number + ";" + title + " 2"), "true");
  EXPECT_EQ(call("WindowTopmost", "on;hwnd:" + number), "true");
  EXPECT_EQ(call("Monitor", "of;hwnd:" + number), "1");
  EXPECT_EQ(call("WindowMove", "10 20;hwnd:" + number), "true");
  EXPECT_EQ(call("WindowPos", "hwnd:" + number).substr(0, 6), "10 20 ");
  EXPECT_EQ(call("WindowHide", "hwnd:" + number), "true");
  const std::string not_named[] = {"hwnd:" + destroyed_number, "hwnd:" + handle_number(child.handle()),
                                   "hwnd:" + handle_number(message_only.handle()), "hwnd:0",
                                   "hwnd:0" + number, "hwnd:" + number + "0000000000", "hwnd:-" + number,
                                   "hwnd:4294967296", "hwnd: " + number, "hwnd:",
                                   "hwnd:" + std::to_string(std::stoul(number) & 0xFFFF),
                                   "hwnd:" + std::to_string(std::stoul(number) | 0xFFFF0000)};
  for (const std::string& name : not_named) {
    EXPECT_EQ(call("WindowIsVisible", name), "false") << name;
    for (const char* command : kErrorWhenNotFound) EXPECT_EQ(call(command, name), "error") << command << name;
    for (const auto& [command, head, tail] : {std::tuple{"ChangeWindowText", "", ";caption"},
                                              {"WindowTopmost", "off;", ""},
                                              {"WindowMove", "1 2;", ""}, {"Monitor", "of;", ""}}) {
      EXPECT_EQ(call(command, head + name + tail), "error") << command << name;
    }
  }
  EXPECT_EQ(call("WindowIsVisible", "hwnd:" + number), "false");  // nothing changed it since the hide
  DestroyWindow(high);
}

// Each window in front in turn; a program that will not tell its path, and
// no window in front (the lock screen, also as LockApp.exe's window, the
// moment between two windows).
TEST(Foreground, TellsTheWindowInFrontAndItsProgram) {
  TestWindow titled(unique_name("toolcase-front"), unique_name("toolcase front"), true);
  const PlainWindow untitled(nullptr, "STATIC", true);
  wchar_t program[MAX_PATH] = {};
  const std::string path = utf8_of(std::wstring(program, GetModuleFileNameW(nullptr, program, MAX_PATH)));
  const std::string exe = path.substr(path.find_last_of('\\') + 1);
  for (const HWND front : {titled.handle(), untitled.handle()}) {
    ASSERT_TRUE(SetForegroundWindow(front));
    const std::string title = front == titled.handle() ? caption_of(front) : "false";
    for (const auto& [input, answer] : std::vector<std::pair<std::string, std::string>>{
             {"", title}, {"TITLE", title}, {"hwnd", handle_number(front)},
             {"pid", std::to_string(GetCurrentProcessId())}, {"exe", exe}, {"path", path},
             {"class", front == titled.handle() ? titled.class_name() : "Static"}, {"pids", "error"}}) {
      EXPECT_EQ(call("Foreground", input), answer) << input;
    }
  }
  {
    const FreshToolcase copy;
    const StagedLookup refused(copy.module(), {{"QueryFullProcessImageNameW", as_farproc(&refuse_image_name)}});
    EXPECT_EQ(copy.call("Foreground", "path"), "false");
    EXPECT_EQ(copy.call("Foreground", "exe"), exe);
  }
  {
    const FreshToolcase copy;
    const StagedLookup lock_screen(copy.module(), {{"QueryFullProcessImageNameW", as_farproc(&lock_app_image_name)}});
    EXPECT_EQ(copy.call("Foreground", "hwnd"), "false");
  }
  const ImportPatch nothing_in_front(toolcase_module(), "USER32.dll", "GetForegroundWindow",
                                     as_farproc(&no_window_in_front));
  for (const char* input : {"", "hwnd", "pid", "path"}) EXPECT_EQ(call("Foreground", input), "false") << input;
  EXPECT_EQ(call("Foreground", "size"), "error");
}

// An empty name is an empty class name, then an empty title: it must find the
// empty-titled window below a titled one, which a null title would not.
TEST_F(RecordingWindowTest, EmptyNameFindsTheFirstWindowWithAnEmptyTitle) {
  TestWindow untitled(unique_name("toolcase-untitled"), "", false, recording_proc);
  TestWindow titled(unique_name("toolcase-titled"), unique_name("toolcase titled"), false);
  const HWND target = untitled.handle();
  auto titled_on_top = [&] {
    SetWindowPos(titled.handle(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  };

  titled_on_top();
  EXPECT_EQ(call("WindowShow", ""), "true");
  EXPECT_TRUE(IsWindowVisible(target));
  EXPECT_FALSE(IsWindowVisible(titled.handle()));
  titled_on_top();
  EXPECT_EQ(call("WindowIsVisible", ""), "true");
  EXPECT_EQ(call("WindowText", ""), "false");
  EXPECT_EQ(call("WindowDisable", ""), "true");
  EXPECT_FALSE(IsWindowEnabled(target));
  EXPECT_EQ(call("WindowEnable", ""), "true");
  EXPECT_EQ(call("WindowMinimize", ""), "true");
  EXPECT_TRUE(IsIconic(target));
  titled_on_top();
  EXPECT_EQ(call("WindowMaximize", ""), "true");
  EXPECT_TRUE(IsZoomed(target));
  titled_on_top();
  EXPECT_EQ(call("WindowClose", ""), "true");
  pump_messages();
  EXPECT_EQ(recorded.close_requests, 1);
  titled_on_top();
  EXPECT_EQ(call("WindowHide", ""), "true");
  EXPECT_FALSE(IsWindowVisible(target));

  // A text that starts with ";" has an empty window part.
  titled_on_top();
  EXPECT_EQ(call_linked(&ChangeWindowText, "; caption for the empty name"), "true");
  EXPECT_EQ(caption_of(target), "caption for the empty name");
  EXPECT_EQ(CaptionTarget.value(), "");
  // Without any ";" the whole text is the caption of the empty name's window.
  SetWindowTextA(target, "");
  titled_on_top();
  EXPECT_EQ(call_linked(&ChangeWindowText, "no separator at all"), "true");
  EXPECT_EQ(caption_of(target), "no separator at all");
  EXPECT_EQ(CaptionTarget.value(), "");
  EXPECT_EQ(CaptionText.value(), "no separator at all");
}

TEST_F(RecordingWindowTest, ShowAndHideCheckVisibilityBeforeAndAfter) {
  TestWindow window(unique_name("toolcase-show"), unique_name("toolcase show"), false,
                    recording_proc);
  const std::string name = window.class_name();
  EXPECT_EQ(call("WindowHide", name), "error");
  EXPECT_EQ(call("WindowShow", name), "true");
  EXPECT_TRUE(IsWindowVisible(window.handle()));

  EXPECT_EQ(call("WindowShow", name), "error");

  EXPECT_EQ(call("WindowHide", name), "true");
  EXPECT_FALSE(IsWindowVisible(window.handle()));
  EXPECT_EQ(call("WindowHide", name), "error");
}

TEST_F(RecordingWindowTest, ShowAndHideAnswerFalseWhenTheWindowKeepsItsVisibility) {
  TestWindow hidden(unique_name("toolcase-stays-hidden"), "", false, recording_proc);
  TestWindow shown(unique_name("toolcase-stays-shown"), "", true, recording_proc);
  recorded.visibility_locked = true;
  EXPECT_EQ(call("WindowShow", hidden.class_name()), "false");
  EXPECT_FALSE(IsWindowVisible(hidden.handle()));
  EXPECT_EQ(call("WindowHide", shown.class_name()), "false");
  EXPECT_TRUE(IsWindowVisible(shown.handle()));
}

TEST(EnableDisable, AnswerByThePreviousState) {
  TestWindow window(unique_name("toolcase-enable"), unique_name("toolcase enable"), true);
  const std::string name = window.class_name();
  EXPECT_EQ(call("WindowEnable", name), "false");  // was enabled already
  EXPECT_TRUE(IsWindowEnabled(window.handle()));
  EXPECT_EQ(call("WindowDisable", name), "true");
  EXPECT_FALSE(IsWindowEnabled(window.handle()));
  EXPECT_EQ(call("WindowDisable", name), "false");  // was disabled already
  EXPECT_FALSE(IsWindowEnabled(window.handle()));
  EXPECT_EQ(call("WindowEnable", name), "true");
  EXPECT_TRUE(IsWindowEnabled(window.handle()));

  const ImportPatch refusal(toolcase_module(), "USER32.dll", "EnableWindow",
                            as_farproc(&enable_nothing));
  EXPECT_EQ(call("WindowDisable", name), "false");
  EnableWindow(window.handle(), FALSE);
  EXPECT_EQ(call("WindowEnable", name), "false");
}

// Titles with a part no other window has; the hidden one is in front, and so
// is the stand-in that Windows shows for a program that stopped responding,
// whose own window is hidden meanwhile.
TEST(WindowFind, AnswersTheFirstWholeTitleThePatternMatchesVisibleWindowsFirst) {
  const std::string id = unique_name("find");
  const std::wstring wide_id(id.begin(), id.end());
  TestWindow alpha(unique_name("toolcase-find"), "Alpha " + id + " Notes", true);
  TestWindow beta(unique_name("toolcase-find"), "Beta " + id + " Notes", false);
  TestWindow greek(L"toolcase-find-" + wide_id, L"Gr\u00F6\u00DFe " + wide_id + L" \u03C9", false);
  TestWindow hung(unique_name("toolcase-find"), "Hung " + id, false);
  TestWindow ghost("Ghost", "Hung " + id + " (Not Responding)", true);
  const std::string long_title = id + std::string(300, '.') + " - Browser";
  TestWindow browser(unique_name("toolcase-find"), long_title, true);
  for (HWND front : {beta.handle(), ghost.handle()}) {
    SetWindowPos(front, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  }
  const struct {
    std::string pattern, answer;
    HWND main_window = nullptr;  // a Unicode one makes a UTF-8 call
  } rows[] = {
      {"Alpha " + id + "*", caption_of(alpha.handle())},
      {"*" + id + " Notes", caption_of(alpha.handle())},
      {"?LPHA " + id + " notes", caption_of(alpha.handle())},
      {"*beta " + id + "*", caption_of(beta.handle())},
      {"GR\xC3\x96?E " + id + " \xCE\xA9", "Gr\xC3\xB6\xC3\x9F" "e " + id + " \xCF\x89",
       greek.handle()},
      {"Hung " + id + "*", "Hung " + id},
      {"*. - BROWSER", long_title.substr(0, 254)},
      {"*. - BROWSER", long_title.substr(0, 254), greek.handle()},
      {"Alpha " + id, "error"},
      {"*" + id + "*Notes?", "error"},
      {"", "error"},
  };
  for (const auto& row : rows) {
    EXPECT_EQ(call("WindowFind", row.pattern, row.main_window), row.answer) << row.pattern;
  }
}

// DwmGetWindowAttribute as Windows 8 and later answer: the shell keeps
// cloaked_window off the screen. Looked up by the DLL on its first use.
HWND cloaked_window = nullptr;
HRESULT WINAPI report_cloaking(HWND window, DWORD attribute, PVOID value, DWORD size) {
  if (attribute != 14 || size != sizeof(DWORD)) return E_INVALIDARG;  // DWMWA_CLOAKED
  *static_cast<DWORD*>(value) = window == cloaked_window ? 2 : 0;     // DWM_CLOAKED_SHELL
  return S_OK;
}

// A cloaked window in front of a visible match ranks as hidden; where the
// lookup fails, as on Windows XP, nothing is cloaked.
TEST(WindowFind, AWindowTheShellKeepsOffTheScreenRanksAsHidden) {
  const std::string id = unique_name("cloak");
  TestWindow behind(unique_name("toolcase-find"), "Behind " + id, true);
  TestWindow cloaked(unique_name("toolcase-find"), "Cloaked " + id, true);
  SetWindowPos(cloaked.handle(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  cloaked_window = cloaked.handle();
  const struct {
    FARPROC lookup;
    std::string pattern, answer;
  } rows[] = {
      {as_farproc(&report_cloaking), "* " + id, "Behind " + id},
      {as_farproc(&report_cloaking), "Cloaked *", "Cloaked " + id},
      {nullptr, "* " + id, "Cloaked " + id},
  };
  for (const auto& row : rows) {
    const FreshToolcase copy;
    const StagedLookup lookup(copy.module(), {{"DwmGetWindowAttribute", row.lookup}});
    EXPECT_EQ(copy.call("WindowFind", row.pattern), row.answer) << row.pattern;
  }
}

TEST(WindowTopmost, KeepsTheWindowAboveOthersOrPutsItBack) {
  TestWindow window(unique_name("toolcase-topmost"), unique_name("toolcase topmost"), true);
  const std::string name = window.class_name();
  const struct {
    std::string input, answer;
    bool topmost;  // afterwards
  } rows[] = {
      {"on;" + name, "true", true},           {"ON;" + name, "error", true},
      {"off;" + name, "true", false},         {"Off;" + name, "error", false},
      {"up;" + name, "error", false},         {"on" + name, "error", false},
      {"on;" + unique_name("toolcase-none"), "error", false},
  };
  for (const auto& row : rows) {
    EXPECT_EQ(call("WindowTopmost", row.input), row.answer) << row.input;
    EXPECT_EQ((GetWindowLongA(window.handle(), GWL_EXSTYLE) & WS_EX_TOPMOST) != 0, row.topmost);
  }
}

// A window whose program keeps its size, as a dialog of a fixed size does.
LRESULT CALLBACK fixed_size_proc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  if (message == WM_WINDOWPOSCHANGING) reinterpret_cast<WINDOWPOS*>(lparam)->flags |= SWP_NOSIZE;
  return DefWindowProcA(window, message, wparam, lparam);
}

std::string rectangle_of(HWND window) {
  RECT r{};
  GetWindowRect(window, &r);
  return std::to_string(r.left) + " " + std::to_string(r.top) + " " +
         std::to_string(r.right - r.left) + " " + std::to_string(r.bottom - r.top);
}

// Each row after the one before it; a minimized window keeps its state and
// gets its place when restored, a maximized one is restored first.
TEST(WindowMove, PlacesTheWindowSoThatWindowPosAnswersWhatWasAsked) {
  TestWindow window(unique_name("toolcase-move"), unique_name("toolcase move"), true);
  TestWindow fixed(unique_name("toolcase-move"), unique_name("toolcase fixed"), true,
                   fixed_size_proc);
  const std::string name = window.class_name();
  const struct {
    int show;  // ShowWindow's command before the row, or -1
    std::string input, answer, place;
    bool iconic = false;  // afterwards
  } rows[] = {
      {-1, "100 120 400 300;" + name, "true", "100 120 400 300"},
      {-1, "-50 -40;" + name, "true", "-50 -40 400 300"},
      {SW_MINIMIZE, "30 40 250 200;" + name, "true", "30 40 250 200", true},
      {SW_HIDE, "35 45;" + name, "true", "35 45 250 200", true},  // and stays hidden
      {SW_MAXIMIZE, "60 70;" + name, "true", "60 70 250 200"},
      {-1, "0 0 500 400;" + fixed.class_name(), "false", "0 0 300 200"},
      {-1, "1 2 3;" + name, "error", "60 70 250 200"},
      {-1, "1  2;" + name, "error", "60 70 250 200"},
      {-1, "1 2 0 5;" + name, "error", "60 70 250 200"},
      {-1, "1 32768;" + name, "error", "60 70 250 200"},
      {-1, "+1 2;" + name, "error", "60 70 250 200"},
      {-1, "1 2", "error", "60 70 250 200"},
      {-1, "1 2;" + unique_name("toolcase-none"), "error", "60 70 250 200"},
  };
  for (const auto& row : rows) {
    if (row.show >= 0) ShowWindow(window.handle(), row.show);
    const bool fixed_row = row.input.find(fixed.class_name()) != std::string::npos;
    const std::string target = fixed_row ? fixed.class_name() : name;
    EXPECT_EQ(call("WindowMove", row.input), row.answer) << row.input;
    EXPECT_EQ(call("WindowPos", target), row.place) << row.input;
    EXPECT_EQ(IsIconic(window.handle()) != FALSE, row.iconic) << row.input;
    EXPECT_EQ(IsWindowVisible(window.handle()) != FALSE, row.show != SW_HIDE) << row.input;
    EXPECT_FALSE(IsZoomed(window.handle())) << row.input;
  }
  ShowWindow(window.handle(), SW_RESTORE);
  EXPECT_EQ(rectangle_of(window.handle()), "60 70 250 200");
  EXPECT_EQ(call("WindowPos", unique_name("toolcase-none")), "error");
}

// DwmGetWindowAttribute as Windows 10 answers for a window with resize
// borders: the frame it draws is 7 pixels inside the rectangle but at the top.
HRESULT WINAPI report_frame(HWND window, DWORD attribute, PVOID value, DWORD size) {
  if (attribute != 9 || size != sizeof(RECT)) return E_INVALIDARG;  // DWMWA_EXTENDED_FRAME_BOUNDS
  RECT& frame = *static_cast<RECT*>(value);
  GetWindowRect(window, &frame);
  frame = {frame.left + 7, frame.top, frame.right - 7, frame.bottom - 7};
  return S_OK;
}

TEST(WindowMove, PlacesTheFrameThatWindowsDrawsNotTheInvisibleBorders) {
  TestWindow window(unique_name("toolcase-frame"), unique_name("toolcase frame"), true);
  const FreshToolcase copy;
  const StagedLookup lookup(copy.module(), {{"DwmGetWindowAttribute", as_farproc(&report_frame)}});
  EXPECT_EQ(copy.call("WindowMove", "0 0 300 200;" + window.class_name()), "true");
  EXPECT_EQ(copy.call("WindowPos", window.class_name()), "0 0 300 200");
  EXPECT_EQ(rectangle_of(window.handle()), "-7 0 314 207");
}

// Two monitors of different scaling side by side at x 500: Windows' undrawn
// borders are 7 pixels left of the line and 11 beyond it.
HRESULT WINAPI report_frame_by_side(HWND window, DWORD attribute, PVOID value, DWORD size) {
  if (attribute != 9 || size != sizeof(RECT)) return E_INVALIDARG;
  RECT& frame = *static_cast<RECT*>(value);
  GetWindowRect(window, &frame);
  const LONG border = frame.left < 500 ? 7 : 11;
  frame = {frame.left + border, frame.top, frame.right - border, frame.bottom - border};
  return S_OK;
}

TEST(WindowMove, PlacesAWindowMovedAcrossMonitorsWithTheBordersItHasThere) {
  TestWindow window(unique_name("toolcase-across"), unique_name("toolcase across"), true);
  const FreshToolcase copy;
  const StagedLookup lookup(copy.module(),
                            {{"DwmGetWindowAttribute", as_farproc(&report_frame_by_side)}});
  EXPECT_EQ(copy.call("WindowMove", "0 0 300 200;" + window.class_name()), "true");
  EXPECT_EQ(copy.call("WindowMove", "600 100 300 200;" + window.class_name()), "true");
  EXPECT_EQ(copy.call("WindowPos", window.class_name()), "600 100 300 200");
}

// A window minimized from maximized restores maximized: its place is the work
// area. Windows then restores it where WindowMove asks; Wine keeps the flag.
TEST(WindowMove, AMinimizedWindowThatWouldRestoreMaximizedIsAskedToRestoreAtThePlace) {
  TestWindow window(unique_name("toolcase-maxmin"), unique_name("toolcase maxmin"), true);
  ShowWindow(window.handle(), SW_MAXIMIZE);
  ShowWindow(window.handle(), SW_MINIMIZE);
  MONITORINFO monitor{};
  monitor.cbSize = sizeof monitor;
  GetMonitorInfoW(MonitorFromWindow(window.handle(), MONITOR_DEFAULTTONEAREST), &monitor);
  const RECT& work = monitor.rcWork;
  EXPECT_EQ(call("WindowPos", window.class_name()),
            std::to_string(work.left) + " " + std::to_string(work.top) + " " +
                std::to_string(work.right - work.left) + " " + std::to_string(work.bottom - work.top));
  EXPECT_EQ(call("WindowMove", "30 40 250 200;" + window.class_name()), "false");
  WINDOWPLACEMENT placement{};
  placement.length = sizeof placement;
  GetWindowPlacement(window.handle(), &placement);
  EXPECT_TRUE(IsIconic(window.handle()));
  const RECT& restored = placement.rcNormalPosition;
  EXPECT_EQ(std::vector<LONG>({restored.left, restored.top, restored.right, restored.bottom}),
            std::vector<LONG>({30, 40, 280, 240}));
}

// A taskbar at the top: the work area starts 40 pixels down, and a minimized
// window's place when restored is kept relative to it.
BOOL WINAPI work_area_below_a_taskbar(HMONITOR monitor, LPMONITORINFO info) {
  if (!GetMonitorInfoW(monitor, info)) return FALSE;
  info->rcWork.top = info->rcMonitor.top + 40;
  return TRUE;
}

TEST(WindowMove, PlacesAMinimizedWindowOnTheScreenNotInTheWorkArea) {
  TestWindow window(unique_name("toolcase-work"), unique_name("toolcase work area"), true);
  ShowWindow(window.handle(), SW_MINIMIZE);
  const ImportPatch work_area(toolcase_module(), "USER32.dll", "GetMonitorInfoW",
                              as_farproc(&work_area_below_a_taskbar));
  EXPECT_EQ(call("WindowMove", "30 50 250 200;" + window.class_name()), "true");
  EXPECT_EQ(call("WindowPos", window.class_name()), "30 50 250 200");
  WINDOWPLACEMENT placement{};
  placement.length = sizeof placement;
  GetWindowPlacement(window.handle(), &placement);
  const RECT& restored = placement.rcNormalPosition;
  EXPECT_EQ(std::vector<LONG>({restored.left, restored.top, restored.right, restored.bottom}),
            std::vector<LONG>({30, 10, 280, 210}));
}

// Four monitors as Windows lists them: one left of the primary one, the
// primary one with a taskbar on top, one above at 150 %, and a mirroring
// driver's pseudo-monitor, which Windows does not count.
const RECT kStagedMonitors[] = {
    {-1280, 0, 0, 1024}, {0, 0, 1024, 768}, {0, -1440, 2560, 0}, {0, 0, 1024, 768}};
const wchar_t* const kStagedDevices[] = {L"\\\\.\\DISPLAY2", L"\\\\.\\DISPLAY1",
                                         L"\\\\.\\DISPLAY3", L"\\\\.\\DISPLAYV1"};
std::size_t staged_index(HMONITOR monitor) { return reinterpret_cast<std::uintptr_t>(monitor) - 0x7000; }

BOOL WINAPI list_staged_monitors(HDC, LPCRECT, MONITORENUMPROC add, LPARAM list) {
  for (std::uintptr_t i = 0; i < 4; ++i) add(reinterpret_cast<HMONITOR>(0x7000 + i), nullptr, nullptr, list);
  return TRUE;
}
BOOL WINAPI staged_monitor_info(HMONITOR monitor, LPMONITORINFO info) {
  const std::size_t i = staged_index(monitor);
  if (i >= 4) return GetMonitorInfoW(monitor, info);
  info->rcMonitor = info->rcWork = kStagedMonitors[i];
  info->rcWork.top += i == 1 ? 40 : 0;
  info->dwFlags = i == 1 ? MONITORINFOF_PRIMARY : 0;
  wcscpy(reinterpret_cast<MONITORINFOEXW*>(info)->szDevice, kStagedDevices[i]);
  return TRUE;
}
BOOL WINAPI staged_display_devices(LPCWSTR, DWORD index, PDISPLAY_DEVICEW device, DWORD) {
  if (index >= 4) return FALSE;
  wcscpy(device->DeviceName, kStagedDevices[index]);
  device->StateFlags = index == 3 ? DISPLAY_DEVICE_MIRRORING_DRIVER : 0;
  return TRUE;
}
HRESULT WINAPI staged_dpi(HMONITOR monitor, int, UINT* x, UINT* y) {
  *x = *y = staged_index(monitor) == 2 ? 144 : 96;
  return S_OK;
}

// Real: one monitor on the virtual desktop; in a run of its own, two X screens
// that Wine shows as two monitors, both at 0,0 (TOOLCASE_TWO_SCREENS).
TEST(Monitor, NumbersThePrimaryMonitorFirstAndFindsTheOneHoldingMostOfAWindow) {
  const bool two_screens = GetEnvironmentVariableA("TOOLCASE_TWO_SCREENS", nullptr, 0) != 0;
  EXPECT_EQ(call("Monitor", "count"), two_screens ? "2" : "1");
  EXPECT_EQ(call("Monitor", "1"), "0 0 1024 768");
  EXPECT_EQ(call("Monitor", "2"), two_screens ? "0 0 800 600" : "error");
  EXPECT_EQ(call("Monitor", "1 Scale"), "100%");
  const FreshToolcase copy;
  const ImportPatch list(copy.module(), "USER32.dll", "EnumDisplayMonitors", as_farproc(&list_staged_monitors));
  const ImportPatch info(copy.module(), "USER32.dll", "GetMonitorInfoW", as_farproc(&staged_monitor_info));
  const ImportPatch devices(copy.module(), "USER32.dll", "EnumDisplayDevicesW", as_farproc(&staged_display_devices));
  const StagedLookup dpi(copy.module(), {{"GetDpiForMonitor", as_farproc(&staged_dpi)}});
  TestWindow window(unique_name("toolcase-monitor"), unique_name("toolcase monitor"), true);
  const std::string of = "of;" + window.class_name();
  const struct {
    std::string input, answer;
    RECT place = {};  // of the window before the row, where it has one
    bool minimized = false;
  } rows[] = {
      {"count", "3"}, {"1", "0 0 1024 768"}, {"1 work", "0 40 1024 728"},
      {"2", "-1280 0 1280 1024"}, {"3 WORK", "0 -1440 2560 1440"}, {"3 scale", "150%"},
      {"2 scale", "100%"}, {"4", "error"}, {"of;" + unique_name("toolcase-none"), "error"},
      {of, "1", {100, 100, 500, 400}}, {of, "2", {-700, 100, -300, 400}},
      {of, "3", {100, -700, 500, -300}}, {of, "2", {-300, 100, 100, 400}},
      {of, "1", {-200, 100, 200, 400}},  // a tie: the lower number
      {of, "0", {3000, 3000, 3400, 3300}}, {of, "2", {-700, 100, -300, 400}, true},
  };
  for (const auto& row : rows) {
    if (row.place.right != 0) {
      ShowWindow(window.handle(), SW_RESTORE);
      const RECT& r = row.place;
      SetWindowPos(window.handle(), nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top,
                   SWP_NOZORDER | SWP_NOACTIVATE);
      if (row.minimized) ShowWindow(window.handle(), SW_MINIMIZE);
    }
    EXPECT_EQ(copy.call("Monitor", row.input), row.answer) << row.input;
  }
}

// Windows, on a display at 144 DPI (150 %), shows a thread that is not aware
// of scaling, as mIRC's, the window of a per-monitor-aware program shrunk to
// two thirds, and stretches what it sets. The display's scale is read when a
// program starts: this program runs again, the test alone, on such a display.
TEST(WindowPos, AnswersRealPixelsToAHostThatIsNotAwareOfScaling) {
  if (GetEnvironmentVariableA("TOOLCASE_SCALED_DISPLAY", nullptr, 0) == 0) {
    const DWORD dpi = 144;
    RegSetKeyValueA(HKEY_CURRENT_USER, "Control Panel\\Desktop", "LogPixels", REG_DWORD, &dpi, 4);
    SetEnvironmentVariableA("TOOLCASE_SCALED_DISPLAY", "1");
    char program[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, program, MAX_PATH);
    EXPECT_EQ(std::system(("\"\"" + std::string(program) +
                           "\" --gtest_filter=WindowPos.AnswersRealPixels*\"").c_str()),
              0) << "the run on a display at 144 DPI failed";
    SetEnvironmentVariableA("TOOLCASE_SCALED_DISPLAY", nullptr);
    RegDeleteKeyValueA(HKEY_CURRENT_USER, "Control Panel\\Desktop", "LogPixels");
    return;
  }
  TestWindow window(unique_name("toolcase-scaled"), unique_name("toolcase scaled"), true);
  SetWindowPos(window.handle(), nullptr, 300, 200, 600, 400, SWP_NOZORDER | SWP_NOACTIVATE);
  const DPI_AWARENESS_CONTEXT aware =
      SetThreadDpiAwarenessContext(DPI_AWARENESS_CONTEXT_UNAWARE);
  ASSERT_EQ(rectangle_of(window.handle()), "200 133 400 267") << "the display is not scaled";
  EXPECT_EQ(call("WindowPos", window.class_name()), "300 200 600 400");
  EXPECT_EQ(call("WindowMove", "100 100;" + window.class_name()), "true");
  SetThreadDpiAwarenessContext(aware);
  EXPECT_EQ(rectangle_of(window.handle()), "100 100 600 400");
  // Before Windows 10 1607 the thread stays unaware: the rectangle alone, in
  // mIRC's coordinates, never the frame in real pixels beside it.
  const FreshToolcase copy;
  const StagedLookup before_1607(copy.module(), {{"SetThreadDpiAwarenessContext", nullptr},
                                                 {"DwmGetWindowAttribute", as_farproc(&report_frame)}});
  SetThreadDpiAwarenessContext(DPI_AWARENESS_CONTEXT_UNAWARE);
  EXPECT_EQ(copy.call("WindowPos", window.class_name()), "67 67 400 266");
  EXPECT_EQ(copy.call("WindowMove", "30 30;" + window.class_name()), "true");
  SetThreadDpiAwarenessContext(aware);
  EXPECT_EQ(rectangle_of(window.handle()), "45 45 600 400");
}

TEST(Activate, BringsTheWindowToTheForeground) {
  TestWindow first(unique_name("toolcase-first"), unique_name("toolcase first"), true);
  TestWindow second(unique_name("toolcase-second"), unique_name("toolcase second"), true);
  EXPECT_EQ(call("WindowActivate", first.class_name()), "true");
  EXPECT_EQ(GetForegroundWindow(), first.handle());
  EXPECT_EQ(call("WindowActivate", caption_of(second.handle())), "true");
  EXPECT_EQ(GetForegroundWindow(), second.handle());
}

// A minimized window is restored, to maximized if it was; a hidden one, or
// one that is not minimized, keeps its state.
TEST(Activate, RestoresAVisibleMinimizedWindowFirst) {
  const struct {
    const char* state;
    std::vector<int> show_commands;  // from a visible, normal window
    bool visible, iconic, zoomed;    // afterwards
  } rows[] = {
      {"minimized", {SW_MINIMIZE}, true, false, false},
      {"minimized from maximized", {SW_MAXIMIZE, SW_MINIMIZE}, true, false, true},
      {"maximized", {SW_MAXIMIZE}, true, false, true},
      {"minimized and hidden", {SW_MINIMIZE, SW_HIDE}, false, true, false},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.state);
    TestWindow window(unique_name("toolcase-activate"), unique_name("toolcase activate"), true);
    for (const int command : row.show_commands) ShowWindow(window.handle(), command);
    const std::string answer = call("WindowActivate", window.class_name());
    EXPECT_EQ(IsWindowVisible(window.handle()) != FALSE, row.visible);
    EXPECT_EQ(IsIconic(window.handle()) != FALSE, row.iconic);
    EXPECT_EQ(IsZoomed(window.handle()) != FALSE, row.zoomed);
    if (!row.visible) continue;
    EXPECT_EQ(answer, "true");
    EXPECT_EQ(GetForegroundWindow(), window.handle());
  }
}

TEST(MinimizeMaximize, AnswerWhetherTheWindowWasVisibleBefore) {
  TestWindow shown(unique_name("toolcase-min"), unique_name("toolcase min"), true);
  EXPECT_EQ(call("WindowMinimize", shown.class_name()), "true");
  EXPECT_TRUE(IsIconic(shown.handle()));
  EXPECT_EQ(call("WindowMaximize", shown.class_name()), "true");
  EXPECT_TRUE(IsZoomed(shown.handle()));

  // A hidden window answers "false", whatever the call then did to it.
  TestWindow hidden_min(unique_name("toolcase-min-hidden"), "", false);
  EXPECT_EQ(call("WindowMinimize", hidden_min.class_name()), "false");
  EXPECT_TRUE(IsIconic(hidden_min.handle()));
  TestWindow hidden_max(unique_name("toolcase-max-hidden"), "", false);
  EXPECT_EQ(call("WindowMaximize", hidden_max.class_name()), "false");
  EXPECT_TRUE(IsZoomed(hidden_max.handle()));
  EXPECT_TRUE(IsWindowVisible(hidden_max.handle()));
}

TEST_F(RecordingWindowTest, CloseQueuesWmCloseAndAnswersTrueEvenWhenRefused) {
  TestWindow refusing(unique_name("toolcase-refuses"), unique_name("toolcase refuses"), true,
                      recording_proc);
  EXPECT_EQ(call("WindowClose", refusing.class_name()), "true");
  EXPECT_EQ(recorded.close_requests, 0) << "the request is queued, not sent";
  pump_messages();
  EXPECT_EQ(recorded.close_requests, 1);
  EXPECT_TRUE(IsWindow(refusing.handle()));

  TestWindow closing(unique_name("toolcase-closes"), unique_name("toolcase closes"), true);
  EXPECT_EQ(call("WindowClose", caption_of(closing.handle())), "true");
  pump_messages();
  EXPECT_FALSE(IsWindow(closing.handle()));
}

TEST(WindowText, AnswersTheCaptionCutTo254Bytes) {
  const std::string long_caption = std::string(200, 'a') + std::string(100, 'b');
  TestWindow window(unique_name("toolcase-caption"), long_caption, true);
  const std::string name = window.class_name();
  EXPECT_EQ(call("WindowText", name), long_caption.substr(0, 254));

  for (const char* caption : {"true", "false", "error", " spaced ", "\xC4pfel \xFC"}) {
    SetWindowTextA(window.handle(), caption);
    EXPECT_EQ(call("WindowText", name), caption);
  }
  SetWindowTextA(window.handle(), "");
  EXPECT_EQ(call("WindowText", name), "false");
}

TEST(WindowText, CaptionsTheWindowDoesNotDeliverProperly) {
  TestWindow silent(unique_name("toolcase-silent"), "not delivered", true, silent_caption_proc);
  EXPECT_EQ(call("WindowText", silent.class_name()), "false");
  // 255 bytes without a NUL: the answer stops at the caption array's end.
  TestWindow unterminated(unique_name("toolcase-unterminated"), "x", true,
                          unterminated_caption_proc);
  EXPECT_EQ(call("WindowText", unterminated.class_name()), std::string(255, 'x'));
}

TEST(ChangeWindowText, CutsAtTheFirstSemicolonAndKeepsBothParts) {
  TestWindow window(unique_name("toolcase-change"), unique_name("toolcase change"), true);
  const HWND target = window.handle();
  const std::string name = window.class_name();
  struct Case {
    std::string input, caption;
  };
  const std::vector<Case> cases = {
      {name + ";New caption", "New caption"},
      {name + "; one blank dropped", "one blank dropped"},
      {name + ";  two blanks keep one", " two blanks keep one"},
      {name + ";a; b;c", "a; b;c"},
      {name + ";\xC4pfel", "\xC4pfel"},
      {name + ";", ""},
      {name + "; ", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.input);
    SetWindowTextA(target, "old caption");
    EXPECT_EQ(call_linked(&ChangeWindowText, c.input), "true");
    EXPECT_EQ(caption_of(target), c.caption);
    EXPECT_EQ(CaptionTarget.value(), name);
    EXPECT_EQ(CaptionText.value(), c.caption);
  }
  // By title, through the DLL.
  SetWindowTextA(target, "toolcase old title");
  EXPECT_EQ(call("ChangeWindowText", "toolcase old title;toolcase new title"), "true");
  EXPECT_EQ(caption_of(target), "toolcase new title");
}

TEST(ChangeWindowText, KeepsItsPartsAfterAnError) {
  TestWindow window(unique_name("toolcase-blank-part"), unique_name("toolcase blank part"), true);
  // Blanks before the ";" belong to the window part and the lookup uses them.
  const std::string input = window.class_name() + " ; new caption;";
  EXPECT_EQ(call_linked(&ChangeWindowText, input), "error");
  EXPECT_EQ(CaptionTarget.value(), window.class_name() + " ");
  EXPECT_EQ(CaptionText.value(), "new caption;");
  EXPECT_NE(caption_of(window.handle()), "new caption;");
}

namespace {

struct FoundWindow {
  DWORD process_id;
  HWND window;
};

BOOL CALLBACK find_notepad_of(HWND window, LPARAM lparam) {
  auto* found = reinterpret_cast<FoundWindow*>(lparam);
  char class_name[64] = {};
  DWORD owner = 0;
  GetWindowThreadProcessId(window, &owner);
  if (owner == found->process_id && GetClassNameA(window, class_name, sizeof class_name) &&
      std::string(class_name) == "Notepad") {
    found->window = window;
    return FALSE;
  }
  return TRUE;
}

// Waits up to timeout_ms for condition(), pumping our own messages meanwhile.
template <typename Condition>
bool wait_for(Condition condition, DWORD timeout_ms = 10000) {
  for (const DWORD start = GetTickCount(); GetTickCount() - start < timeout_ms; Sleep(20)) {
    if (condition()) return true;
    pump_messages();
  }
  return condition();
}

}  // namespace

TEST(AnotherProcess, DrivesNotepadByClassAndByTitle) {
  char command_line[] = "notepad.exe";
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION started{};
  ASSERT_TRUE(CreateProcessA(nullptr, command_line, nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                             &startup, &started));
  const unique_process process(started.hProcess);
  const unique_process thread(started.hThread);
  FoundWindow notepad{started.dwProcessId, nullptr};
  ASSERT_TRUE(wait_for([&] {
    EnumWindows(find_notepad_of, reinterpret_cast<LPARAM>(&notepad));
    return notepad.window != nullptr && IsWindowVisible(notepad.window);
  })) << "no notepad window";
  ASSERT_EQ(FindWindowA("Notepad", nullptr), notepad.window) << "another notepad is running";

  const std::string title = caption_of(notepad.window);
  EXPECT_FALSE(title.empty());
  EXPECT_EQ(call("WindowIsVisible", "Notepad"), "true");
  EXPECT_EQ(call("WindowText", "Notepad"), title);
  EXPECT_EQ(call("WindowText", title), title);

  const std::string new_title = unique_name("toolcase renamed notepad");
  EXPECT_EQ(call("ChangeWindowText", "Notepad; " + new_title), "true");
  EXPECT_EQ(caption_of(notepad.window), new_title);
  EXPECT_EQ(call("WindowText", new_title), new_title);

  EXPECT_EQ(call("WindowMinimize", new_title), "true");
  EXPECT_TRUE(wait_for([&] { return IsIconic(notepad.window) != 0; }));

  EXPECT_EQ(call("WindowClose", "Notepad"), "true");
  const DWORD waited = WaitForSingleObject(process.get(), 10000);
  EXPECT_EQ(waited, WAIT_OBJECT_0) << "notepad did not close";
  if (waited != WAIT_OBJECT_0) {
    TerminateProcess(process.get(), 1);
    WaitForSingleObject(process.get(), 5000);
  }
}
