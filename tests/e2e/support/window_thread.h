// A thread that serves the windows made on it, as another program's thread
// does: a call that waits on one of its windows waits for this thread. It can
// stop reading its messages, as a program that has stopped responding does.
#pragma once

#include <windows.h>

#include <functional>
#include <thread>

namespace toolcase::e2e {

class WindowThread {
 public:
  WindowThread();
  // Lets a hung thread go on, then ends it.
  ~WindowThread();
  WindowThread(const WindowThread&) = delete;
  WindowThread& operator=(const WindowThread&) = delete;

  // Runs work on the thread and returns when it is done: windows are made
  // and destroyed on the thread that serves them.
  void run(const std::function<void()>& work);
  // Stops the thread reading messages until resume(); true once the
  // platform counts window as not responding (after about 5 s), false when
  // it still does not after 15 s.
  bool hang(HWND window);
  void resume();

 private:
  void serve();

  HANDLE ready_ = CreateEventA(nullptr, FALSE, FALSE, nullptr);
  HANDLE resumed_ = CreateEventA(nullptr, TRUE, TRUE, nullptr);
  DWORD thread_id_ = 0;
  std::thread thread_;
};

}  // namespace toolcase::e2e
