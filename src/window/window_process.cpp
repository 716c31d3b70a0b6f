#include "window/window_process.h"

#include <algorithm>
#include <array>
#include <string_view>

#include "host/late_bound.h"
#include "host/text.h"
#include "process/process_list.h"
#include "window/dwm.h"
#include "window/window_titles.h"

namespace toolcase::window {

namespace {

bool has_class(HWND window, std::wstring_view wanted) {
  std::array<wchar_t, 64> class_name{};
  const int length = GetClassNameW(window, class_name.data(), static_cast<int>(class_name.size()));
  return length > 0 && std::wstring_view(class_name.data(), static_cast<std::size_t>(length)) == wanted;
}

struct WindowSearch {
  std::span<const DWORD> process_ids;
  HWND found;
};

using GhostFromHungWindow = HWND(WINAPI*)(HWND);
LateBound ghost_from_hung_window(SystemModule::user32, "GhostWindowFromHungWindow");

// Whether Windows shows a stand-in for the hung window: the one
// GhostWindowFromHungWindow names where user32 has it, else a window of class
// "Ghost" whose title begins with the window's. A hidden window that has
// none (a thread's hidden IME window, say) hid of its own accord.
bool has_stand_in(HWND hung, std::wstring_view title) {
  if (const auto from_hung = ghost_from_hung_window.as<GhostFromHungWindow>()) return from_hung(hung) != nullptr;
  for (HWND ghost = FindWindowExW(nullptr, nullptr, L"Ghost", nullptr); ghost != nullptr;
       ghost = FindWindowExW(nullptr, ghost, L"Ghost", nullptr)) {
    StoredTitle stored;
    if (stored_title(ghost, stored).starts_with(title)) return true;
  }
  return false;
}

// Front to back, as Windows keeps the top-level windows.
BOOL CALLBACK examine_window(HWND window, LPARAM search_address) {
  // NOLINTNEXTLINE(performance-no-int-to-ptr): the search's address, as EnumWindows passes it
  auto& search = *reinterpret_cast<WindowSearch*>(search_address);
  // A hung window is hidden while Windows shows its stand-in.
  const bool visible = IsWindowVisible(window) != FALSE;
  if (!visible && !IsHungAppWindow(window)) return TRUE;
  // The stored title: a message could wait on a program that is not responding.
  StoredTitle stored;
  const std::wstring_view title = stored_title(window, stored);
  if (title.empty() || (visible ? is_cloaked(window) : !has_stand_in(window, title))) return TRUE;
  const DWORD owner = window_process_id(window);
  if (std::find(search.process_ids.begin(), search.process_ids.end(), owner) ==
      search.process_ids.end()) {
    return TRUE;
  }
  search.found = window;
  return FALSE;
}

using HungWindowFromGhost = HWND(WINAPI*)(HWND);
LateBound hung_window_from_ghost(SystemModule::user32, "HungWindowFromGhostWindow");

struct HungWindowSearch {
  std::wstring_view ghost_title;
  HWND found;
  std::size_t found_title_size;
};

BOOL CALLBACK examine_hidden_window(HWND window, LPARAM search_address) {
  // NOLINTNEXTLINE(performance-no-int-to-ptr): the search's address, as EnumWindows passes it
  auto& search = *reinterpret_cast<HungWindowSearch*>(search_address);
  if (IsWindowVisible(window)) return TRUE;
  StoredTitle stored;
  const std::wstring_view title = stored_title(window, stored);
  if (title.empty() || title.size() <= search.found_title_size || !search.ghost_title.starts_with(title) ||
      !IsHungAppWindow(window)) {
    return TRUE;
  }
  search.found = window;
  search.found_title_size = title.size();
  return TRUE;
}

// The hung window that a stand-in covers; null when none is found.
HWND hung_window_of(HWND ghost) {
  if (const auto from_ghost = hung_window_from_ghost.as<HungWindowFromGhost>()) {
    if (const HWND hung = from_ghost(ghost)) return hung;
  }
  StoredTitle stored;
  HungWindowSearch search{stored_title(ghost, stored), nullptr, 0};
  if (search.ghost_title.empty()) return nullptr;
  EnumWindows(examine_hidden_window, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

// LockApp.exe, in any letter case, by its program's path.
bool is_lock_screen(HWND window) {
  DWORD process_id = 0;
  Text path;
  if (GetWindowThreadProcessId(window, &process_id) == 0 ||
      !process::image_path(process_id, TextEncoding::utf8, path)) {
    return false;
  }
  std::string_view name = path.view();
  if (const std::size_t separator = name.find_last_of('\\'); separator != name.npos) name.remove_prefix(separator + 1);
  return text::keyword_match(name, "lockapp.exe");
}

}  // namespace

FrontWindow window_in_front() noexcept {
  const HWND front = GetForegroundWindow();
  if (front == nullptr || is_lock_screen(front)) return {nullptr, false};
  if (!is_ghost(front)) return {front, true};
  if (const HWND hung = hung_window_of(front)) return {hung, true};
  return {front, false};
}

DWORD window_process_id(HWND window) noexcept {
  DWORD frame_process = 0;
  if (GetWindowThreadProcessId(window, &frame_process) == 0) return 0;
  if (!has_class(window, L"ApplicationFrameWindow")) return frame_process;
  for (HWND child = FindWindowExW(window, nullptr, L"Windows.UI.Core.CoreWindow", nullptr);
       child != nullptr; child = FindWindowExW(window, child, L"Windows.UI.Core.CoreWindow", nullptr)) {
    DWORD app_process = 0;
    GetWindowThreadProcessId(child, &app_process);
    if (app_process != 0 && app_process != frame_process) return app_process;
  }
  return frame_process;
}

HWND frontmost_window_of(std::span<const DWORD> process_ids) noexcept {
  WindowSearch search{process_ids, nullptr};
  EnumWindows(examine_window, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

}  // namespace toolcase::window
