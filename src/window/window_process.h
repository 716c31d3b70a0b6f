// The process a top-level window stands for, and the window that stands for
// a process.
#pragma once

#include <windows.h>

#include <span>

namespace toolcase::window {

// The process that owns the window. A Store app's frame (class
// "ApplicationFrameWindow") is drawn by the shell's frame host: it stands for
// the app inside it, the process of its "Windows.UI.Core.CoreWindow" child
// when that child belongs to another process.
DWORD window_process_id(HWND window) noexcept;

// The frontmost visible top-level window with a title, not kept off the
// screen by the shell, that stands for one of the processes; null when none.
// A window hidden because its program stopped responding counts as visible
// while Windows shows a stand-in for it.
HWND frontmost_window_of(std::span<const DWORD> process_ids) noexcept;

// The window in front, as it stands for a program.
struct FrontWindow {
  HWND window;          // null when none is in front
  bool program_known;  // false for a stand-in whose hung window was not found
};

// None for the lock screen of Windows 10 and 11 (a window of LockApp.exe on
// the user's own desktop). For the stand-in that Windows shows for a window
// that stopped responding (class "Ghost", owned by dwm.exe), the hung window
// it covers: the one HungWindowFromGhostWindow names where user32 has it,
// else the hidden, hung top-level window with the longest title that the
// stand-in's title begins with.
FrontWindow window_in_front() noexcept;

}  // namespace toolcase::window
