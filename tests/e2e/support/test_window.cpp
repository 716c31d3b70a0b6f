#include "test_window.h"

#include <atomic>

namespace toolcase::e2e {

std::string unique_name(const std::string& prefix) {
  static std::atomic<int> counter{0};
  return prefix + "-" + std::to_string(GetCurrentProcessId()) + "-" + std::to_string(++counter);
}

TestWindow::TestWindow(const std::string& class_name, const std::string& title, bool visible,
                       WNDPROC proc)
    : class_name_(class_name) {
  WNDCLASSA window_class{};
  window_class.lpfnWndProc = proc;
  window_class.hInstance = GetModuleHandleA(nullptr);
  window_class.lpszClassName = class_name_.c_str();
  RegisterClassA(&window_class);
  window_ = CreateWindowExA(0, class_name_.c_str(), title.c_str(),
                            WS_OVERLAPPEDWINDOW | (visible ? WS_VISIBLE : 0), 10, 10, 300, 200,
                            nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
  pump_messages();
}

TestWindow::~TestWindow() {
  if (IsWindow(window_)) DestroyWindow(window_);
  UnregisterClassA(class_name_.c_str(), GetModuleHandleA(nullptr));
  pump_messages();
}

void pump_messages() {
  MSG message;
  while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&message);
    DispatchMessageA(&message);
  }
}

}  // namespace toolcase::e2e
