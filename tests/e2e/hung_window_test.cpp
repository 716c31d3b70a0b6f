// The commands that wait on another program's window, against windows of a
// thread that has stopped reading its messages, as a program that is not
// responding has: each answers "false" at once and leaves the window as it
// was. The same table on windows whose thread reads them answers as ever.
#include <windows.h>

#include <gtest/gtest.h>

#include <chrono>
#include <cstring>
#include <future>
#include <memory>
#include <string>
#include <thread>
#include <tuple>
#include <vector>

#include "test_window.h"
#include "toolcase_dll.h"
#include "window_thread.h"

using namespace toolcase::e2e;

namespace {

// What the table acts on, all served by one other thread: an application's
// window that is visible and enabled, one that is hidden and disabled (so that
// showing or enabling it has something to do), a minimized one, and a
// stand-in shell with a screen saver chosen.
class Windows {
 public:
  explicit Windows(WindowThread& thread) : thread_(thread) {
    thread_.run([this] {
      SetWindowTextA(add(nullptr, shown_name, true, DefWindowProcA), "caption");
      EnableWindow(add(nullptr, hidden_name, false, DefWindowProcA), FALSE);
      ShowWindow(add(nullptr, minimized_name, true, DefWindowProcA), SW_MINIMIZE);
      taskbar_ = add(nullptr, "Shell_TrayWnd", true, quiet_taskbar_proc);
      SetWindowPos(taskbar_, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
      add(taskbar_, "Start", true, DefWindowProcA);
      add(add(nullptr, "Progman", true, DefWindowProcA), "ShellDll_DefView", true,
          DefWindowProcA);
    });
    EXPECT_EQ(FindWindowA("Shell_TrayWnd", nullptr), taskbar_);
    // Any existing file stands for the chosen screen saver.
    constexpr char kSaver[] = "%SystemRoot%\\system32\\kernel32.dll";
    EXPECT_EQ(RegSetKeyValueA(HKEY_CURRENT_USER, "Control Panel\\Desktop", "SCRNSAVE.EXE", REG_SZ,
                              kSaver, sizeof kSaver),
              ERROR_SUCCESS);
  }
  ~Windows() {
    RegDeleteKeyValueA(HKEY_CURRENT_USER, "Control Panel\\Desktop", "SCRNSAVE.EXE");
    thread_.run([this] { windows_.clear(); });
  }

  HWND taskbar() const { return taskbar_; }
  const std::string shown_name = unique_name("shown");
  const std::string hidden_name = unique_name("hidden");
  const std::string minimized_name = unique_name("minimized");

  // Each window's style (visible, disabled, minimised, maximised), extended
  // style (kept on top) and caption, read without sending it anything.
  std::vector<std::wstring> states() const {
    std::vector<std::wstring> states;
    for (const auto& window : windows_) {
      wchar_t caption[64] = {};
      InternalGetWindowText(window->handle(), caption, 64);
      states.push_back(std::to_wstring(GetWindowLongA(window->handle(), GWL_STYLE)) + L" " +
                       std::to_wstring(GetWindowLongA(window->handle(), GWL_EXSTYLE)) + caption);
    }
    return states;
  }

 private:
  HWND add(HWND parent, const std::string& class_name, bool visible, WNDPROC proc) {
    windows_.push_back(std::make_unique<PlainWindow>(parent, class_name.c_str(), visible, proc));
    return windows_.back()->handle();
  }

  WindowThread& thread_;
  std::vector<std::unique_ptr<PlainWindow>> windows_;
  HWND taskbar_ = nullptr;
};

// In an order in which each call changes its window on a responding thread.
const struct Row {
  const char* command;
  const std::string Windows::*window;  // whose name the input starts with, if any
  const char* text;                    // the keyword, or what follows the name
  const char* before = "";             // what precedes the name
} kWaitingCalls[] = {
    {"WindowMinimize", &Windows::shown_name, ""},
    {"WindowMaximize", &Windows::shown_name, ""},
    {"WindowDisable", &Windows::shown_name, ""},
    {"ChangeWindowText", &Windows::shown_name, ";renamed"},
    {"WindowMove", &Windows::shown_name, "", "10 10;"},
    {"WindowHide", &Windows::shown_name, ""},
    {"WindowShow", &Windows::hidden_name, ""},
    {"WindowEnable", &Windows::hidden_name, ""},
    {"WindowActivate", &Windows::minimized_name, ""},
    {"StartButton", nullptr, "hide"},
    {"StartButton", nullptr, "show"},
    {"DesktopIcons", nullptr, "disable"},
    {"DesktopIcons", nullptr, "enable"},
    {"DesktopIcons", nullptr, "hide"},
    {"DesktopIcons", nullptr, "show"},
    {"ScreenSaver", nullptr, ""},
    {"StartButton", nullptr, "simulate"},
    {"WindowTopmost", &Windows::shown_name, "", "on;"},
};

// Runs the table; a call that has not answered after two seconds waits on
// the thread, which is then let go so that the test can end.
void expect_answers(const Windows& windows, WindowThread& thread, const std::string& expected,
                    std::chrono::milliseconds within) {
  for (const Row& row : kWaitingCalls) {
    const std::string input =
        row.before + (row.window ? windows.*row.window : std::string()) + row.text;
    SCOPED_TRACE(std::string(row.command) + " " + input);
    const auto start = std::chrono::steady_clock::now();
    std::future<std::string> answer =
        std::async(std::launch::async, [&] { return call(row.command, input); });
    if (answer.wait_for(std::chrono::seconds(2)) == std::future_status::timeout) {
      ADD_FAILURE() << "the call waits on the window's thread";
      thread.resume();
    }
    EXPECT_EQ(answer.get(), expected);
    EXPECT_LT(std::chrono::steady_clock::now() - start, within);
  }
}

}  // namespace

TEST(NotResponding, EveryCallThatWouldWaitAnswersFalseAndLeavesTheWindowAlone) {
  WindowThread thread;
  const Windows windows(thread);
  const std::vector<std::wstring> before = windows.states();
  // This thread reads no message while the other hangs either, as a host
  // busy with a long script does; but a call on its own window never waits.
  const std::string own_class = unique_name("own");
  const PlainWindow own(nullptr, own_class.c_str(), true, DefWindowProcA);
  ASSERT_TRUE(thread.hang(windows.taskbar())) << "the platform never counted the thread as hung";
  expect_answers(windows, thread, "false", std::chrono::milliseconds(500));
  EXPECT_TRUE(IsHungAppWindow(own.handle()));
  EXPECT_EQ(call("WindowHide", own_class), "true");
  thread.resume();
  thread.run([] {});  // the thread has read every message sent meanwhile
  EXPECT_EQ(windows.states(), before);
}

TEST(NotResponding, TheSameCallsOnARespondingProgramAnswerAsEver) {
  WindowThread thread;
  const Windows windows(thread);
  expect_answers(windows, thread, "true", std::chrono::seconds(2));
}

namespace {

// The sleeper beside this program, started with its arguments.
PROCESS_INFORMATION start_sleeper(const std::string& arguments) {
  std::string line = "\"" + toolcase_dll_path().substr(0, toolcase_dll_path().rfind('\\')) + "\\sleeper.exe\" " + arguments;
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION started{};
  EXPECT_TRUE(CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &started));
  return started;
}

void end_sleeper(const PROCESS_INFORMATION& started) {
  TerminateProcess(started.hProcess, 0);
  CloseHandle(started.hProcess);
  CloseHandle(started.hThread);
}

}  // namespace

// A routine of mIRC's that must not be paused calls with nopause: no box
// shows and nothing waits, not on a taskbar whose thread is busy either.
TEST(NoPause, NoCommandShowsABoxOrWaits) {
  WindowThread thread;
  const Windows windows(thread);
  const FreshToolcase copy;  // CPU usage within a quarter second of the load
  const PROCESS_INFORMATION sleeper = start_sleeper("");
  const std::string kill = "pid:" + std::to_string(sleeper.dwProcessId);
  std::thread busy([&] { thread.run([] { Sleep(1000); }); });
  Sleep(100);
  for (const auto& [command, input, answer] :
       {std::tuple{"CPU", "usage", "false"}, {"MessageDialog", "ok;information;toolcase;nopause", "error"},
        {"DLLInfo", "msg", "error"}, {"Network", "down", "false"}, {"KillProcess", kill.c_str(), "true"},
        {"ScreenSaver", "", "true"}, {"StartButton", "simulate", "true"}}) {
    char data[toolcase::host::kDataBufferSize] = {}, parameters[toolcase::host::kDataBufferSize] = {};
    std::strcpy(data, input);
    int removed = 0;
    const auto start = std::chrono::steady_clock::now();
    toolcase::host::call_command(GetProcAddress(copy.module(), command), nullptr, nullptr, data, parameters, FALSE,
                                 TRUE, removed);
    EXPECT_STREQ(data, answer) << command;
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(50)) << command;
  }
  busy.join();
  end_sleeper(sleeper);
}

// A hidden hung window's stand-in ("Ghost", another program's) in front
// answers for that window, the program's too; without one it stands for
// itself and no program.
TEST(NotResponding, AStandInInFrontAnswersForTheHungWindowItCovers) {
  WindowThread thread;
  const std::string title = unique_name("toolcase hung"), class_name = unique_name("hung");
  std::unique_ptr<PlainWindow> hung;
  thread.run([&] { hung = std::make_unique<PlainWindow>(nullptr, class_name.c_str(), false, DefWindowProcA);
                   SetWindowTextA(hung->handle(), title.c_str()); });
  ASSERT_TRUE(thread.hang(hung->handle()));
  const PROCESS_INFORMATION ghost_program = start_sleeper("Ghost \"" + title + " (Not Responding)\"");
  HWND ghost = nullptr;
  for (int tries = 0; tries < 100 && ghost == nullptr; ++tries, Sleep(50)) ghost = FindWindowA("Ghost", (title + " (Not Responding)").c_str());
  ASSERT_TRUE(SetForegroundWindow(ghost));
  char program[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, program, MAX_PATH);
  const std::string self = std::to_string(GetCurrentProcessId());
  for (const auto& [keyword, answer] : {std::pair{"", title}, {"class", class_name}, {"hwnd", handle_number(hung->handle())},
                                        {"pid", self}, {"exe", std::string(std::strrchr(program, '\\') + 1)}}) {
    EXPECT_EQ(call("Foreground", keyword), answer) << keyword;
  }
  EXPECT_EQ(call("Process", "window;pid:" + self), handle_number(hung->handle()));
  thread.resume();
  thread.run([] {});
  EXPECT_EQ(call("Foreground", ""), title + " (Not Responding)");
  EXPECT_EQ(call("Foreground", "pid"), "false");
  end_sleeper(ghost_program);
  thread.run([&] { hung.reset(); });
}
