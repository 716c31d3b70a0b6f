/* The least a host can load: one command that answers nothing, and the C
   start-up code, without any language runtime. The bench loads and frees it
   beside toolcase.dll: what toolcase.dll costs beyond that is its own. */
#include <windows.h>

__declspec(dllexport) int __stdcall Reference(HWND main_window, HWND active_window, char* data,
                                               char* parameters, BOOL show, BOOL no_pause) {
  (void)main_window;
  (void)active_window;
  (void)data;
  (void)parameters;
  (void)show;
  (void)no_pause;
  return 3;
}
