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
HWND frontmost_window_of(std::span<const DWORD> process_ids) noexcept;

}  // namespace toolcase::window
