#include "window_thread.h"

namespace toolcase::e2e {

WindowThread::WindowThread(const std::string& class_name, const std::string& title, WNDPROC proc)
    : thread_([this, class_name, title, proc] { serve(class_name, title, proc); }) {
  WaitForSingleObject(created_, INFINITE);
}

WindowThread::~WindowThread() {
  PostThreadMessageA(thread_id_, WM_QUIT, 0, 0);
  thread_.join();
  CloseHandle(created_);
}

void WindowThread::serve(const std::string& class_name, const std::string& title, WNDPROC proc) {
  const HINSTANCE instance = GetModuleHandleA(nullptr);
  if (proc != nullptr) {
    WNDCLASSA window_class{};
    window_class.lpfnWndProc = proc;
    window_class.hInstance = instance;
    window_class.lpszClassName = class_name.c_str();
    RegisterClassA(&window_class);
  }
  window_ = CreateWindowExA(0, class_name.c_str(), title.c_str(), WS_POPUP | WS_VISIBLE, 0, 0, 100,
                            30, nullptr, nullptr, instance, nullptr);
  thread_id_ = GetCurrentThreadId();
  SetEvent(created_);
  MSG message;
  while (GetMessageA(&message, nullptr, 0, 0) > 0) DispatchMessageA(&message);
  DestroyWindow(window_);
  if (proc != nullptr) UnregisterClassA(class_name.c_str(), instance);
}

}  // namespace toolcase::e2e
