// The shell commands against a stand-in shell that each test builds for
// itself: a "Shell_TrayWnd" taskbar with a "Button" child whose window
// procedure records the system commands it is sent, and a "Progman" program
// manager with a "ShellDll_DefView" child.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "test_window.h"
#include "toolcase_dll.h"

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

// A child window of the test's own; a class it registers goes with it.
class ChildWindow {
 public:
  ChildWindow(HWND parent, const char* class_name, bool visible, WNDPROC proc = nullptr)
      : class_name_(class_name), registered_(proc != nullptr) {
    if (registered_) {
      WNDCLASSA window_class{};
      window_class.lpfnWndProc = proc;
      window_class.hInstance = GetModuleHandleA(nullptr);
      window_class.lpszClassName = class_name;
      RegisterClassA(&window_class);
    }
    window_ = CreateWindowExA(0, class_name, "", WS_CHILD | (visible ? WS_VISIBLE : 0), 0, 0, 100,
                              30, parent, nullptr, GetModuleHandleA(nullptr), nullptr);
  }
  ~ChildWindow() {
    if (IsWindow(window_)) DestroyWindow(window_);
    if (registered_) UnregisterClassA(class_name_.c_str(), GetModuleHandleA(nullptr));
  }
  ChildWindow(const ChildWindow&) = delete;
  ChildWindow& operator=(const ChildWindow&) = delete;

  HWND handle() const { return window_; }
  bool has_visible_style() const { return (GetWindowLongA(window_, GWL_STYLE) & WS_VISIBLE) != 0; }
  void bring_to_top() const {
    SetWindowPos(window_, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  }

 private:
  std::string class_name_;
  bool registered_;
  HWND window_ = nullptr;
};

class StandInTaskbar : public testing::Test {
 protected:
  void SetUp() override {
    taskbar_record = {};
    taskbar_ = std::make_unique<TestWindow>("Shell_TrayWnd", unique_name("taskbar"), true,
                                            taskbar_proc);
    button_ = std::make_unique<ChildWindow>(taskbar_->handle(), "Button", true);
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
  std::unique_ptr<ChildWindow> button_;
};

class StandInDesktop : public testing::Test {
 protected:
  void SetUp() override { view_record = {}; }

  // A program manager, visible or not, with a desktop view child.
  void build(bool program_manager_visible, bool view_visible) {
    program_manager_ = std::make_unique<TestWindow>("Progman", unique_name("Program Manager"),
                                                    program_manager_visible);
    view_ = std::make_unique<ChildWindow>(program_manager_->handle(), "ShellDll_DefView",
                                          view_visible, view_proc);
    ASSERT_EQ(FindWindowA("Progman", nullptr), program_manager_->handle());
    ASSERT_EQ(GetWindow(program_manager_->handle(), GW_CHILD), view_->handle());
    view_record.messages.clear();
  }

  std::unique_ptr<TestWindow> program_manager_;
  std::unique_ptr<ChildWindow> view_;
};

}  // namespace

TEST_F(StandInTaskbar, ScreenSaverSendsScreenSaveWhateverTheInput) {
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
  const ChildWindow clock(taskbar_->handle(), "Static", true);
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
  const ChildWindow top(program_manager_->handle(), "Static", true);
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
