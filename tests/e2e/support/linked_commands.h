// The commands as linked into the test program itself. Module state (the
// module strings, the ToolHelp binding) is per copy of the library: to look at
// it, call the linked copy with call_linked(...) and read the state here; the
// DLL's own copy is out of sight.
#pragma once

#include <windows.h>

#define TOOLCASE_LINKED_COMMAND(name) \
  extern "C" int __stdcall name(HWND, HWND, char*, char*, BOOL, BOOL) noexcept

TOOLCASE_LINKED_COMMAND(DLLInfo);
TOOLCASE_LINKED_COMMAND(BeepCommand);  // exported as Beep
TOOLCASE_LINKED_COMMAND(MessageDialog);
TOOLCASE_LINKED_COMMAND(DesktopIcons);
TOOLCASE_LINKED_COMMAND(StartButton);
TOOLCASE_LINKED_COMMAND(ScreenSaver);
TOOLCASE_LINKED_COMMAND(ProcessIsRunning);
TOOLCASE_LINKED_COMMAND(KillProcess);
TOOLCASE_LINKED_COMMAND(WindowClose);
TOOLCASE_LINKED_COMMAND(WindowMaximize);
TOOLCASE_LINKED_COMMAND(WindowMinimize);
TOOLCASE_LINKED_COMMAND(WindowActivate);
TOOLCASE_LINKED_COMMAND(ChangeWindowText);
TOOLCASE_LINKED_COMMAND(WindowText);
TOOLCASE_LINKED_COMMAND(WindowDisable);
TOOLCASE_LINKED_COMMAND(WindowEnable);
TOOLCASE_LINKED_COMMAND(WindowHide);
TOOLCASE_LINKED_COMMAND(WindowIsVisible);
TOOLCASE_LINKED_COMMAND(WindowShow);
TOOLCASE_LINKED_COMMAND(Screen);
TOOLCASE_LINKED_COMMAND(Memory);
TOOLCASE_LINKED_COMMAND(UserName);
TOOLCASE_LINKED_COMMAND(ComputerName);
TOOLCASE_LINKED_COMMAND(GetDir);
TOOLCASE_LINKED_COMMAND(ExtractFullPath);

#undef TOOLCASE_LINKED_COMMAND
