// The shell commands against a stand-in shell that each test builds for
// itself: a "Shell_TrayWnd" taskbar with a "Button" child whose window
// procedure records the system commands it is sent, and a "Progman" program
// manager with a "ShellDll_DefView" child, as Windows XP has them; and the
// layouts of later Windows.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "test_window.h"
#include "toolcase_dll.h"
#include "window_thread.h"

using namespace toolcase::e2e;

namespace {

// What the stand-in taskbar was sent, and what it answers.
struct TaskbarRecord {
  std::vector<std::pair<WPARAM, LPARAM>> system_commands;
  LRESULT reply = 0;
};
TaskbarRecord taskbar_record;

LRESULT CALLBACK taskbar_proc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  // Never passed on: the default handling of these commands starts programs.
  if (message == WM_SYSCOMMAND) {
    taskbar_record.system_commands.emplace_back(wparam, lparam);
    return taskbar_record.reply;
  }
  return DefWindowProcA(window, message, wparam, lparam);
}

// What the stand-in desktop view was told, and whether it refuses to change
// its visibility.
struct ViewRecord {
  std::vector<UINT> messages;
  bool refuses_visibility_change = false;
};
ViewRecord view_record;

LRESULT CALLBACK view_proc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
    case WM_ENABLE:
    case WM_SHOWWINDOW:
      view_record.messages.push_back(message);
      break;
    case WM_WINDOWPOSCHANGING:
      view_record.messages.push_back(message);
      if (view_record.refuses_visibility_change) {
        reinterpret_cast<WINDOWPOS*>(lparam)->flags &= ~(SWP_SHOWWINDOW | SWP_HIDEWINDOW);
      }
      break;
  }
  return DefWindowProcA(window, message, wparam, lparam);
}

constexpr char kUserDesktop[] = "Control Panel\\Desktop";
constexpr char kPolicyDesktop[] = "Software\\Policies\\Microsoft\\Windows\\Control Panel\\Desktop";

// HKCU\key's SCRNSAVE.EXE while it lives, or none; then none again, as a new
// Windows 10 or 11 has it.
struct SaverSetting {
  SaverSetting(const char* key_name, const std::optional<std::string>& value) : key(key_name) {
    if (value) {
      RegSetKeyValueA(HKEY_CURRENT_USER, key, "SCRNSAVE.EXE", REG_SZ, value->c_str(),
                      static_cast<DWORD>(value->size() + 1));
    } else {
      RegDeleteKeyValueA(HKEY_CURRENT_USER, key, "SCRNSAVE.EXE");
    }
  }
  ~SaverSetting() { RegDeleteKeyValueA(HKEY_CURRENT_USER, key, "SCRNSAVE.EXE"); }
  const char* key;
};

// An existing file that stands for the chosen saver.
std::string this_program() {
  char path[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, path, MAX_PATH);
  return path;
}

class StandInTaskbar : public testing::Test {
 protected:
  void SetUp() override {
    taskbar_record = {};
    taskbar_ = std::make_unique<TestWindow>("Shell_TrayWnd", unique_name("taskbar"), true,
                                            taskbar_proc);
    button_ = std::make_unique<PlainWindow>(taskbar_->handle(), "Button", true);
    ASSERT_NE(button_->handle(), nullptr);
    // Wine keeps a hidden taskbar of its own (not topmost); ours must come
    // first in the Z order, or the commands would reach Wine's. Nothing is
    // sent unless the commands' own lookup finds ours.
    SetWindowPos(taskbar_->handle(), HWND_TOP, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    ASSERT_EQ(FindWindowA("Shell_TrayWnd", nullptr), taskbar_->handle())
        << "the stand-in taskbar is not the one the commands find";
    ASSERT_EQ(FindWindowExA(taskbar_->handle(), nullptr, "Button", nullptr), button_->handle());
  }

  std::unique_ptr<TestWindow> taskbar_;
  std::unique_ptr<PlainWindow> button_;
};

class StandInDesktop : public testing::Test {
 protected:
  void SetUp() override { view_record = {}; }

  // A program manager, visible or not, with a desktop view child.
  void build(bool program_manager_visible, bool view_visible) {
    program_manager_ = std::make_unique<TestWindow>("Progman", unique_name("Program Manager"),
                                                    program_manager_visible);
    view_ = std::make_unique<PlainWindow>(program_manager_->handle(), "ShellDll_DefView",
                                          view_visible, view_proc);
    ASSERT_EQ(FindWindowA("Progman", nullptr), program_manager_->handle());
    ASSERT_EQ(GetWindow(program_manager_->handle(), GW_CHILD), view_->handle());
    view_record.messages.clear();
  }

  std::unique_ptr<TestWindow> program_manager_;
  std::unique_ptr<PlainWindow> view_;
};

}  // namespace

TEST_F(StandInTaskbar, ScreenSaverStartsOnlyAChosenSaverThatExists) {
  // A saver in the system folder as the shell, a 64-bit program, sees it: a
  // 32-bit program on 64-bit Windows sees SysWOW64 there unless it says not to.
  char system_saver[MAX_PATH] = {};
  lstrcatA(system_saver + GetSystemDirectoryA(system_saver, MAX_PATH), "\\toolcase-saver.scr");
  PVOID redirection = nullptr;
  const bool redirection_off = Wow64DisableWow64FsRedirection(&redirection);
  CloseHandle(CreateFileA(system_saver, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
  if (redirection_off) Wow64RevertWow64FsRedirection(redirection);
  const std::string missing = this_program() + ".missing.scr";
  const std::optional<std::string> none;
  const struct {
    const char* what;
    std::optional<std::string> policy, user;
    const char* answer;
  } rows[] = {
      {"no value", none, none, "false"},
      {"an empty value", none, "", "false"},
      {"an existing file", none, this_program(), "true"},
      {"a missing file", none, missing, "false"},
      {"a bare name of a saver in the system folder", none, "toolcase-saver.scr", "true"},
      {"the policy's existing file, no user value", "%SystemRoot%\\system32\\toolcase-saver.scr",
       none, "true"},
      {"the policy's missing file over the user's existing one", missing, this_program(), "false"},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.what);
    const SaverSetting policy(kPolicyDesktop, row.policy);
    const SaverSetting user(kUserDesktop, row.user);
    taskbar_record.system_commands.clear();
    EXPECT_EQ(call("ScreenSaver", ""), row.answer);
    EXPECT_EQ(taskbar_record.system_commands.size(), std::string_view(row.answer) == "true" ? 1u : 0u);
  }
}

TEST_F(StandInTaskbar, ScreenSaverSendsScreenSaveWhateverTheInput) {
  const SaverSetting chosen(kUserDesktop, this_program());
  for (const std::string& input : {std::string(), std::string("now"), std::string("simulate"),
                                   std::string(899, 'x')}) {
    taskbar_record.system_commands.clear();
    EXPECT_EQ(call("ScreenSaver", input), "true") << input;
    ASSERT_EQ(taskbar_record.system_commands.size(), 1u) << input;
    EXPECT_EQ(taskbar_record.system_commands[0].first, static_cast<WPARAM>(SC_SCREENSAVE));
    EXPECT_EQ(taskbar_record.system_commands[0].second, 0);
  }
}

TEST_F(StandInTaskbar, ScreenSaverAnswersByTheTaskbarsReply) {
  const SaverSetting chosen(kUserDesktop, this_program());
  std::vector<LRESULT> refusals = {1, -1, 16};
  // On x64 the reply has 64 bits: one with only the upper half set is no 0.
  if (sizeof(LRESULT) == 8) refusals.push_back(static_cast<LRESULT>(std::uint64_t{1} << 32));
  for (const LRESULT reply : refusals) {
    taskbar_record.reply = reply;
    EXPECT_EQ(call("ScreenSaver", ""), "false") << reply;
  }
  taskbar_record.reply = 0;
  EXPECT_EQ(call("ScreenSaver", ""), "true");
  EXPECT_EQ(taskbar_record.system_commands.size(), refusals.size() + 1);
}

TEST_F(StandInTaskbar, SimulateSendsTaskListAndAnswersByTheReply) {
  EXPECT_EQ(call("StartButton", "Simulate"), "true");
  taskbar_record.reply = 1;
  EXPECT_EQ(call("StartButton", "SIMULATE"), "false");
  ASSERT_EQ(taskbar_record.system_commands.size(), 2u);
  for (const auto& [command, argument] : taskbar_record.system_commands) {
    EXPECT_EQ(command, static_cast<WPARAM>(SC_TASKLIST));
    EXPECT_EQ(argument, 0);
  }
}

TEST_F(StandInTaskbar, StartButtonHidesAndShowsOnceEach) {
  EXPECT_EQ(call("StartButton", "hide"), "true");
  EXPECT_FALSE(button_->has_visible_style());
  EXPECT_EQ(call("StartButton", "Hide"), "error");
  EXPECT_FALSE(button_->has_visible_style());
  EXPECT_EQ(call("StartButton", "show"), "true");
  EXPECT_TRUE(button_->has_visible_style());
  EXPECT_EQ(call("StartButton", "SHOW"), "error");
  EXPECT_TRUE(button_->has_visible_style());
  EXPECT_TRUE(taskbar_record.system_commands.empty());
}

TEST_F(StandInTaskbar, StartButtonActsOnTheButtonEvenBehindAnotherChild) {
  const PlainWindow clock(taskbar_->handle(), "Static", true);
  clock.bring_to_top();
  ASSERT_EQ(GetWindow(taskbar_->handle(), GW_CHILD), clock.handle());
  EXPECT_EQ(call("StartButton", "hide"), "true");
  EXPECT_FALSE(button_->has_visible_style());
  EXPECT_TRUE(clock.has_visible_style());
}

TEST_F(StandInTaskbar, UnknownStartButtonKeywordsDoNothing) {
  for (const bool visible : {true, false}) {
    ShowWindow(button_->handle(), visible ? SW_SHOW : SW_HIDE);
    for (const char* input : {"", "disable", "enable", "start", " show", "hide ", "simulate "}) {
      EXPECT_EQ(call("StartButton", input), "error") << input;
      EXPECT_EQ(button_->has_visible_style(), visible) << input;
    }
  }
  EXPECT_TRUE(taskbar_record.system_commands.empty());
}

TEST_F(StandInDesktop, DisableDisableEnableEnable) {
  build(true, true);
  EXPECT_EQ(call("DesktopIcons", "disable"), "true");
  EXPECT_FALSE(IsWindowEnabled(view_->handle()));
  EXPECT_EQ(call("DesktopIcons", "Disable"), "error");
  EXPECT_FALSE(IsWindowEnabled(view_->handle()));
  EXPECT_EQ(call("DesktopIcons", "enable"), "true");
  EXPECT_TRUE(IsWindowEnabled(view_->handle()));
  EXPECT_EQ(call("DesktopIcons", "ENABLE"), "error");
  EXPECT_TRUE(IsWindowEnabled(view_->handle()));
}

TEST_F(StandInDesktop, HideHideShowShow) {
  build(true, true);
  EXPECT_EQ(call("DesktopIcons", "hide"), "true");
  EXPECT_FALSE(IsWindowVisible(view_->handle()));
  EXPECT_EQ(call("DesktopIcons", "Hide"), "error");
  EXPECT_EQ(call("DesktopIcons", "show"), "true");
  EXPECT_TRUE(IsWindowVisible(view_->handle()));
  EXPECT_EQ(call("DesktopIcons", "SHOW"), "error");
  EXPECT_TRUE(IsWindowVisible(view_->handle()));
}

TEST_F(StandInDesktop, AnAnswerOfErrorTouchesNothing) {
  build(true, true);
  EXPECT_EQ(call("DesktopIcons", "show"), "error");
  EXPECT_TRUE(view_record.messages.empty());
  ShowWindow(view_->handle(), SW_HIDE);
  view_record.messages.clear();
  EXPECT_EQ(call("DesktopIcons", "hide"), "error");
  EXPECT_TRUE(view_record.messages.empty());
}

TEST_F(StandInDesktop, ShowBehindAHiddenProgramManagerIsFalse) {
  build(false, false);
  EXPECT_EQ(call("DesktopIcons", "show"), "false");
  // The request went through, but the hidden parent keeps the view unseen.
  EXPECT_TRUE(view_->has_visible_style());
  EXPECT_FALSE(IsWindowVisible(view_->handle()));
  EXPECT_EQ(call("DesktopIcons", "show"), "false");
  EXPECT_EQ(call("DesktopIcons", "hide"), "error");
  EXPECT_TRUE(view_->has_visible_style());
}

TEST_F(StandInDesktop, AViewThatRefusesToChangeAnswersFalse) {
  build(true, true);
  view_record.refuses_visibility_change = true;
  EXPECT_EQ(call("DesktopIcons", "hide"), "false");
  EXPECT_TRUE(IsWindowVisible(view_->handle()));
  view_record.refuses_visibility_change = false;
  ShowWindow(view_->handle(), SW_HIDE);
  view_record.refuses_visibility_change = true;
  EXPECT_EQ(call("DesktopIcons", "show"), "false");
  EXPECT_FALSE(IsWindowVisible(view_->handle()));
}

TEST_F(StandInDesktop, ShowAndHideTakeTheTopChildDisableTakesTheView) {
  build(true, true);
  const PlainWindow top(program_manager_->handle(), "Static", true);
  top.bring_to_top();
  ASSERT_EQ(GetWindow(program_manager_->handle(), GW_CHILD), top.handle());
  EXPECT_EQ(call("DesktopIcons", "hide"), "true");
  EXPECT_FALSE(top.has_visible_style());
  EXPECT_TRUE(view_->has_visible_style());
  EXPECT_EQ(call("DesktopIcons", "disable"), "true");
  EXPECT_FALSE(IsWindowEnabled(view_->handle()));
  EXPECT_TRUE(IsWindowEnabled(top.handle()));
}

TEST_F(StandInDesktop, UnknownDesktopIconsKeywordsDoNothing) {
  build(true, true);
  for (const char* input : {"", "simulate", "disabled", " enable", "show ", "start"}) {
    EXPECT_EQ(call("DesktopIcons", input), "error") << input;
  }
  EXPECT_TRUE(view_record.messages.empty());
  EXPECT_TRUE(IsWindowVisible(view_->handle()));
  EXPECT_TRUE(IsWindowEnabled(view_->handle()));
}

// The shells of Windows Vista to 11, made of the test's own windows: where
// each keeps its Start button and its desktop icons.
namespace {

// A stand-in shell: the windows of one layout, gone with it.
class ShellLayout {
 public:
  HWND add(HWND parent, const char* class_name, WNDPROC proc = nullptr) {
    windows_.push_back(std::make_unique<PlainWindow>(parent, class_name, true, proc));
    return windows_.back()->handle();
  }
  // A top-level window of the class (a system class) that another thread serves.
  HWND add_on_other_thread(const char* class_name) {
    other_thread_.run([&] {
      other_windows_.push_back(std::make_unique<PlainWindow>(nullptr, class_name, true));
    });
    return other_windows_.back()->handle();
  }
  ~ShellLayout() {
    other_thread_.run([this] { other_windows_.clear(); });
  }
  // A taskbar the commands find before Wine's own, which swallows the system
  // commands sent to it.
  HWND add_taskbar() {
    taskbar_record = {};
    const HWND taskbar = add(nullptr, "Shell_TrayWnd", taskbar_proc);
    SetWindowPos(taskbar, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    EXPECT_EQ(FindWindowA("Shell_TrayWnd", nullptr), taskbar);
    return taskbar;
  }

 private:
  WindowThread other_thread_;
  std::vector<std::unique_ptr<PlainWindow>> other_windows_;
  std::vector<std::unique_ptr<PlainWindow>> windows_;
};

bool visible_style(HWND window) { return (GetWindowLongA(window, GWL_STYLE) & WS_VISIBLE) != 0; }

// Whether the window is in the state that the keyword asks for.
bool in_state(HWND window, std::string_view keyword) {
  if (keyword == "show" || keyword == "hide") return visible_style(window) == (keyword == "show");
  return (IsWindowEnabled(window) != FALSE) == (keyword == "enable");
}

void expect_untouched(const std::vector<HWND>& windows, const char* step) {
  for (const HWND window : windows) {
    EXPECT_TRUE(visible_style(window)) << step;
    EXPECT_TRUE(IsWindowEnabled(window)) << step;
  }
}

// One layout: the windows the command acts on (none: it answers "error"),
// and windows that stay as they are.
struct Layout {
  std::vector<HWND> targets;
  std::vector<HWND> bystanders;
};

const struct LayoutRow {
  const char* name;
  const char* command;
  Layout (*build)(ShellLayout&);
} kLayouts[] = {
    {"Vista/7: the orb, a top-level Button of the taskbar's thread, under another thread's",
     "StartButton",
     [](ShellLayout& shell) {
       shell.add_taskbar();
       const HWND orb = shell.add(nullptr, "Button");
       const HWND other = shell.add_on_other_thread("Button");
       EXPECT_EQ(FindWindowExA(nullptr, nullptr, "Button", nullptr), other);
       return Layout{{orb}, {other}};
     }},
    {"8.1/10/11: a Start child, and one on each of two secondary taskbars", "StartButton",
     [](ShellLayout& shell) {
       Layout layout;
       layout.targets.push_back(shell.add(shell.add_taskbar(), "Start", DefWindowProcA));
       for (int monitor = 0; monitor < 2; ++monitor) {
         const HWND secondary = shell.add(nullptr, "Shell_SecondaryTrayWnd", DefWindowProcA);
         layout.targets.push_back(shell.add(secondary, "Start", DefWindowProcA));
       }
       return layout;
     }},
    {"a taskbar without a Start button", "StartButton",
     [](ShellLayout& shell) {
       shell.add_taskbar();
       const HWND secondary = shell.add(nullptr, "Shell_SecondaryTrayWnd", DefWindowProcA);
       return Layout{
           {},
           {shell.add(secondary, "Start", DefWindowProcA), shell.add_on_other_thread("Button")}};
     }},
    {"raised: an empty Progman, an empty WorkerW above the one holding the view", "DesktopIcons",
     [](ShellLayout& shell) {
       const HWND program_manager = shell.add(nullptr, "Progman", DefWindowProcA);
       const HWND view = shell.add(shell.add(nullptr, "WorkerW", DefWindowProcA),
                                   "ShellDll_DefView", DefWindowProcA);
       const HWND empty_worker = shell.add(nullptr, "WorkerW", DefWindowProcA);
       EXPECT_EQ(FindWindowExA(nullptr, nullptr, "WorkerW", nullptr), empty_worker);
       return Layout{{view}, {program_manager, empty_worker}};
     }},
    {"11 24H2: the view under Progman, a WorkerW child below it", "DesktopIcons",
     [](ShellLayout& shell) {
       const HWND program_manager = shell.add(nullptr, "Progman", DefWindowProcA);
       const HWND worker = shell.add(program_manager, "WorkerW", DefWindowProcA);
       const HWND view = shell.add(program_manager, "ShellDll_DefView", DefWindowProcA);
       SetWindowPos(view, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
       EXPECT_EQ(GetWindow(program_manager, GW_CHILD), view);
       return Layout{{view}, {program_manager, worker}};
     }},
    {"no view anywhere: an empty Progman and an empty WorkerW", "DesktopIcons",
     [](ShellLayout& shell) {
       return Layout{{},
                     {shell.add(nullptr, "Progman", DefWindowProcA),
                      shell.add(nullptr, "WorkerW", DefWindowProcA)}};
     }},
};

}  // namespace

// Each keyword once puts every target in its state ("true"), and a second
// time finds it there ("error"); with no target every call is "error".
TEST(LaterShells, StartButtonAndDesktopIconsActWhereEachWindowsKeepsTheirWindows) {
  for (const LayoutRow& row : kLayouts) {
    SCOPED_TRACE(row.name);
    ShellLayout shell;
    const Layout layout = row.build(shell);
    const bool is_start_button = std::string_view(row.command) == "StartButton";
    for (const char* keyword :
         is_start_button ? std::vector<const char*>{"hide", "show"}
                         : std::vector<const char*>{"disable", "enable", "hide", "show"}) {
      for (const char* expected : {"true", "error"}) {
        EXPECT_EQ(call(row.command, keyword), layout.targets.empty() ? "error" : expected)
            << keyword;
        for (const HWND target : layout.targets) EXPECT_TRUE(in_state(target, keyword)) << keyword;
      }
    }
    expect_untouched(layout.bystanders, "at the end");
    EXPECT_TRUE(taskbar_record.system_commands.empty());
  }
}

// Without a taskbar, program manager or WorkerW nothing is the shell's: the
// commands must not reach another program's top-level windows of the classes
// they look for.
TEST(LaterShells, WithoutAShellNothingIsDoneAndEverythingAnswersError) {
  ShellLayout shell;
  const HWND holder = shell.add(nullptr, "Static");
  ShowWindow(holder, SW_HIDE);
  const HWND wine_taskbar = FindWindowA("Shell_TrayWnd", nullptr);
  if (wine_taskbar != nullptr) SetParent(wine_taskbar, holder);
  const bool no_taskbar = FindWindowA("Shell_TrayWnd", nullptr) == nullptr;
  const std::vector<HWND> strays = {shell.add_on_other_thread("Button"),
                                    shell.add(nullptr, "ShellDll_DefView", DefWindowProcA)};
  std::vector<std::pair<std::string, std::string>> answers;
  const SaverSetting chosen(kUserDesktop, this_program());
  if (no_taskbar) {
    ASSERT_EQ(FindWindowA("Progman", nullptr), nullptr);
    ASSERT_EQ(FindWindowA("WorkerW", nullptr), nullptr);
    for (const auto& [command, input] : {std::pair{"ScreenSaver", ""},
                                         {"StartButton", "hide"},
                                         {"StartButton", "show"},
                                         {"StartButton", "simulate"},
                                         {"DesktopIcons", "disable"},
                                         {"DesktopIcons", "hide"},
                                         {"DesktopIcons", "enable"},
                                         {"DesktopIcons", "show"}}) {
      answers.emplace_back(std::string(command) + " " + input, call(command, input));
    }
  }
  if (wine_taskbar != nullptr) SetParent(wine_taskbar, nullptr);
  if (!no_taskbar) GTEST_SKIP() << "the platform's taskbar could not be put out of reach";
  for (const auto& [what, answer] : answers) EXPECT_EQ(answer, "error") << what;
  expect_untouched(strays, "after every command");
}
