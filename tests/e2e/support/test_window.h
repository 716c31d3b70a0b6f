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

// Delivers the messages waiting for this thread's windows.
void pump_messages();

}  // namespace toolcase::e2e
