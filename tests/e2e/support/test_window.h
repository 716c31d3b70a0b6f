// Top-level windows that a test creates for itself, with names no other
// window on the desktop has.
#pragma once

#include <windows.h>

#include <string>

namespace toolcase::e2e {

// "prefix-<process id>-<counter>": unique on this desktop.
std::string unique_name(const std::string& prefix);

class TestWindow {
 public:
  // Registers class_name (with proc as its window procedure) and creates one
  // top-level overlapped window of it with the title.
  TestWindow(const std::string& class_name, const std::string& title, bool visible,
             WNDPROC proc = DefWindowProcA);
  // The same for a window of a Unicode class, as a Unicode program makes it,
  // with a class name and a title in any script.
  TestWindow(const std::wstring& class_name, const std::wstring& title, bool visible);
  ~TestWindow();
  TestWindow(const TestWindow&) = delete;
  TestWindow& operator=(const TestWindow&) = delete;

  HWND handle() const { return window_; }
  const std::string& class_name() const { return class_name_; }

 private:
  std::string class_name_;
  std::wstring wide_class_name_;  // of a Unicode class only
  HWND window_ = nullptr;
};

// A window of the test's own, a child of parent or a top-level popup without
// one, with an empty title; the class it registers with proc (a system class
// needs none) goes with it.
class PlainWindow {
 public:
  PlainWindow(HWND parent, const char* class_name, bool visible, WNDPROC proc = nullptr);
  ~PlainWindow();
  PlainWindow(const PlainWindow&) = delete;
  PlainWindow& operator=(const PlainWindow&) = delete;

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

// A stand-in taskbar's window procedure that swallows the system commands
// sent to it: their default handling starts the screen saver or a menu.
LRESULT CALLBACK quiet_taskbar_proc(HWND window, UINT message, WPARAM wparam, LPARAM lparam);

// Delivers the messages waiting for this thread's windows.
void pump_messages();

}  // namespace toolcase::e2e
