#include "window/window_process.h"

#include <algorithm>
#include <array>
#include <string_view>

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

// Front to back, as Windows keeps the top-level windows.
BOOL CALLBACK examine_window(HWND window, LPARAM search_address) {
  // NOLINTNEXTLINE(performance-no-int-to-ptr): the search's address, as EnumWindows passes it
  auto& search = *reinterpret_cast<WindowSearch*>(search_address);
  if (!IsWindowVisible(window)) return TRUE;
  // The stored title: a message could wait on a program that is not responding.
  StoredTitle title;
  if (stored_title(window, title).empty() || is_cloaked(window)) return TRUE;
  const DWORD owner = window_process_id(window);
  if (std::find(search.process_ids.begin(), search.process_ids.end(), owner) ==
      search.process_ids.end()) {
    return TRUE;
  }
  search.found = window;
  return FALSE;
}

}  // namespace

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
