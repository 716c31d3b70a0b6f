#include "window_thread.h"

namespace toolcase::e2e {

namespace {

// Thread messages of the test's own; lParam of a run is the work's address.
constexpr UINT kRunMessage = WM_APP + 1;
constexpr UINT kHangMessage = WM_APP + 2;

}  // namespace

WindowThread::WindowThread() : thread_([this] { serve(); }) {
  WaitForSingleObject(ready_, INFINITE);
}

WindowThread::~WindowThread() {
  resume();
  PostThreadMessageA(thread_id_, WM_QUIT, 0, 0);
  thread_.join();
  CloseHandle(ready_);
  CloseHandle(resumed_);
}

void WindowThread::run(const std::function<void()>& work) {
  PostThreadMessageA(thread_id_, kRunMessage, 0, reinterpret_cast<LPARAM>(&work));
  WaitForSingleObject(ready_, INFINITE);
}

bool WindowThread::hang(HWND window) {
  ResetEvent(resumed_);
  PostThreadMessageA(thread_id_, kHangMessage, 0, 0);
  // Something to read that stays unread.
  PostThreadMessageA(thread_id_, WM_NULL, 0, 0);
  for (int waited = 0; waited < 150; ++waited) {
    if (IsHungAppWindow(window)) return true;
    Sleep(100);
  }
  return false;
}

void WindowThread::resume() { SetEvent(resumed_); }

void WindowThread::serve() {
  MSG message;
  PeekMessageA(&message, nullptr, 0, 0, PM_NOREMOVE);  // makes the thread's queue
  thread_id_ = GetCurrentThreadId();
  SetEvent(ready_);
  while (GetMessageA(&message, nullptr, 0, 0) > 0) {
    if (message.hwnd == nullptr && message.message == kRunMessage) {
      (*reinterpret_cast<const std::function<void()>*>(message.lParam))();
      SetEvent(ready_);
    } else if (message.hwnd == nullptr && message.message == kHangMessage) {
      WaitForSingleObject(resumed_, INFINITE);
    } else {
      DispatchMessageA(&message);
    }
  }
}

}  // namespace toolcase::e2e
