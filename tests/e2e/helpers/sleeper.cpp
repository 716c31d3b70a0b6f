// Does nothing for a minute, then exits with 7. The process tests start
// copies of it under names of their own and end them; the time limit keeps a
// copy from outliving a test that broke off. Given a class name and a title,
// it shows a top-level window of them meanwhile.
#include <windows.h>

int wmain(int argc, wchar_t** argv) {
  if (argc == 3) {
    WNDCLASSW window_class{};
    window_class.lpfnWndProc = DefWindowProcW;
    window_class.hInstance = GetModuleHandleW(nullptr);
    window_class.lpszClassName = argv[1];
    RegisterClassW(&window_class);
    CreateWindowExW(0, argv[1], argv[2], WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 200, 100, nullptr,
                    nullptr, GetModuleHandleW(nullptr), nullptr);
  }
  const DWORD end = GetTickCount() + 60000;
  for (DWORD now = GetTickCount(); now < end; now = GetTickCount()) {
    MsgWaitForMultipleObjects(0, nullptr, FALSE, end - now, QS_ALLINPUT);
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&message);
  }
  return 7;
}
