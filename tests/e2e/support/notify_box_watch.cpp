#include "notify_box_watch.h"

#include <algorithm>
#include <utility>

namespace toolcase::e2e {

namespace {

constexpr DWORD kPollMs = 20;

// The visible message boxes of this process.
std::vector<HWND> boxes_of_this_process() {
  std::vector<HWND> boxes;
  for (HWND box = FindWindowExA(nullptr, nullptr, "#32770", nullptr); box != nullptr;
       box = FindWindowExA(nullptr, box, "#32770", nullptr)) {
    DWORD process = 0;
    GetWindowThreadProcessId(box, &process);
    if (process == GetCurrentProcessId() && IsWindowVisible(box)) boxes.push_back(box);
  }
  return boxes;
}

}  // namespace

OwnedBoxWatcher::OwnedBoxWatcher(HWND owner, int button_id, DWORD timeout_ms)
    : thread_(&OwnedBoxWatcher::watch, this, owner, button_id, timeout_ms) {}

OwnedBoxWatcher::~OwnedBoxWatcher() {
  if (thread_.joinable()) thread_.join();
}

OwnedBox OwnedBoxWatcher::result() {
  if (thread_.joinable()) thread_.join();
  return seen_;
}

void OwnedBoxWatcher::watch(HWND owner, int button_id, DWORD timeout_ms) {
  const DWORD start = GetTickCount();
  while (GetTickCount() - start < timeout_ms) {
    for (HWND box : boxes_of_this_process()) {
      if (GetWindow(box, GW_OWNER) != owner) continue;
      seen_.box = read_message_box(box);
      seen_.owner_enabled = IsWindowEnabled(owner) != FALSE;
      press_button(box, button_id);
      return;
    }
    Sleep(kPollMs);
  }
}

StrayBoxGuard::StrayBoxGuard(DWORD grace_ms) : thread_(&StrayBoxGuard::guard, this, grace_ms) {}

StrayBoxGuard::~StrayBoxGuard() { stop(); }

std::vector<std::string> StrayBoxGuard::stop() {
  stopping_ = true;
  if (thread_.joinable()) thread_.join();
  return closed_;
}

void StrayBoxGuard::guard(DWORD grace_ms) {
  // Each box up now, with the time it was first seen; and the boxes pressed,
  // which may take a moment to go.
  std::vector<std::pair<HWND, DWORD>> up;
  std::vector<HWND> pressed;
  while (!stopping_) {
    std::vector<std::pair<HWND, DWORD>> still_up;
    for (HWND box : boxes_of_this_process()) {
      if (std::find(pressed.begin(), pressed.end(), box) != pressed.end()) continue;
      DWORD first_seen = GetTickCount();
      for (const auto& [known, seen_at] : up) {
        if (known == box) first_seen = seen_at;
      }
      if (GetTickCount() - first_seen < grace_ms) {
        still_up.emplace_back(box, first_seen);
        continue;
      }
      const SeenBox seen = read_message_box(box);
      closed_.push_back(seen.caption);
      if (!seen.button_ids.empty()) press_button(box, seen.button_ids.front());
      pressed.push_back(box);
    }
    up = std::move(still_up);
    Sleep(kPollMs);
  }
}

}  // namespace toolcase::e2e
