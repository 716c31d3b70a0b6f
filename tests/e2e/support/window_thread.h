// A top-level window made and served by a thread of its own, as another
// program's window is: a call that waits on the window waits for that thread.
#pragma once

#include <windows.h>

#include <string>
#include <thread>

namespace toolcase::e2e {

class WindowThread {
 public:
  // Registers class_name with proc when proc is given (a system class such
  // as "Button" needs none) and makes a visible popup window of it with the
  // title, on the new thread, which then reads its messages.
  WindowThread(const std::string& class_name, const std::string& title, WNDPROC proc = nullptr);
  // Destroys the window on its thread and ends the thread.
  ~WindowThread();
  WindowThread(const WindowThread&) = delete;
  WindowThread& operator=(const WindowThread&) = delete;

  HWND handle() const { return window_; }
  DWORD thread_id() const { return thread_id_; }

 private:
  void serve(const std::string& class_name, const std::string& title, WNDPROC proc);

  HWND window_ = nullptr;
  DWORD thread_id_ = 0;
  HANDLE created_ = CreateEventA(nullptr, TRUE, FALSE, nullptr);
  std::thread thread_;
};

}  // namespace toolcase::e2e
