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

TestWindow::TestWindow(const std::wstring& class_name, const std::wstring& title, bool visible)
    : wide_class_name_(class_name) {
  WNDCLASSW window_class{};
  window_class.lpfnWndProc = DefWindowProcW;
  window_class.hInstance = GetModuleHandleW(nullptr);
  window_class.lpszClassName = wide_class_name_.c_str();
  RegisterClassW(&window_class);
  window_ = CreateWindowExW(0, wide_class_name_.c_str(), title.c_str(),
                            WS_OVERLAPPEDWINDOW | (visible ? WS_VISIBLE : 0), 10, 10, 300, 200,
                            nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
  pump_messages();
}

TestWindow::~TestWindow() {
  if (IsWindow(window_)) DestroyWindow(window_);
  if (wide_class_name_.empty()) {
    UnregisterClassA(class_name_.c_str(), GetModuleHandleA(nullptr));
  } else {
    UnregisterClassW(wide_class_name_.c_str(), GetModuleHandleW(nullptr));
  }
  pump_messages();
}

PlainWindow::PlainWindow(HWND parent, const char* class_name, bool visible, WNDPROC proc)
    : class_name_(class_name), registered_(proc != nullptr) {
  if (registered_) {
    WNDCLASSA window_class{};
    window_class.lpfnWndProc = proc;
    window_class.hInstance = GetModuleHandleA(nullptr);
    window_class.lpszClassName = class_name;
    RegisterClassA(&window_class);
  }
  const DWORD kind = parent != nullptr ? WS_CHILD : WS_POPUP;
  window_ = CreateWindowExA(0, class_name, "", kind | (visible ? WS_VISIBLE : 0), 0, 0, 100, 30,
                            parent, nullptr, GetModuleHandleA(nullptr), nullptr);
}

PlainWindow::~PlainWindow() {
  if (IsWindow(window_)) DestroyWindow(window_);
  if (registered_) UnregisterClassA(class_name_.c_str(), GetModuleHandleA(nullptr));
}

LRESULT CALLBACK quiet_taskbar_proc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  if (message == WM_SYSCOMMAND) return 0;
  return DefWindowProcA(window, message, wparam, lparam);
}

void pump_messages() {
  MSG message;
  while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&message);
    DispatchMessageA(&message);
  }
}

}  // namespace toolcase::e2e
