#include "message_box_watcher.h"

namespace toolcase::e2e {

namespace {

std::string window_text(HWND window) {
  char text[1024] = {};
  GetWindowTextA(window, text, sizeof text);
  return text;
}

std::wstring wide_window_text(HWND window) {
  wchar_t text[1024] = {};
  GetWindowTextW(window, text, 1024);
  return text;
}

}  // namespace

MessageBoxWatcher::MessageBoxWatcher(std::string caption, int button_id, DWORD timeout_ms)
    : thread_(&MessageBoxWatcher::watch, this, std::move(caption), button_id, timeout_ms) {}

MessageBoxWatcher::~MessageBoxWatcher() {
  if (thread_.joinable()) thread_.join();
}

SeenBox MessageBoxWatcher::result() {
  if (thread_.joinable()) thread_.join();
  return seen_;
}

void MessageBoxWatcher::watch(std::string caption, int button_id, DWORD timeout_ms) {
  const DWORD start = GetTickCount();
  HWND box = nullptr;
  while (GetTickCount() - start < timeout_ms) {
    box = FindWindowA("#32770", caption.c_str());
    if (box != nullptr && IsWindowVisible(box)) break;
    box = nullptr;
    Sleep(20);
  }
  if (box == nullptr) return;

  seen_ = read_message_box(box);
  press_button(box, button_id);
}

SeenBox read_message_box(HWND box) {
  SeenBox seen;
  seen.found = true;
  seen.owner = GetWindow(box, GW_OWNER);
  seen.caption = window_text(box);
  seen.text = window_text(GetDlgItem(box, kMessageBoxTextId));
  seen.wide_caption = wide_window_text(box);
  seen.wide_text = wide_window_text(GetDlgItem(box, kMessageBoxTextId));
  for (int id = IDOK; id <= IDNO; ++id) {
    if (GetDlgItem(box, id) != nullptr) seen.button_ids.push_back(id);
  }
  seen.icon =
      reinterpret_cast<HICON>(SendMessageA(GetDlgItem(box, kMessageBoxIconId), STM_GETICON, 0, 0));
  return seen;
}

void press_button(HWND box, int button_id) {
  PostMessageA(box, WM_COMMAND, MAKEWPARAM(button_id, BN_CLICKED),
               reinterpret_cast<LPARAM>(GetDlgItem(box, button_id)));
}

}  // namespace toolcase::e2e
