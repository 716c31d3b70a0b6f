// Message boxes found by their owner rather than their caption (a box may
// have an empty caption), and a guard that closes boxes nobody expected.
// Every wait has a time-out, so no box can hang a test.
#pragma once

#include <windows.h>

#include <atomic>
#include <string>
#include <thread>
#include <vector>

#include "message_box_watcher.h"

namespace toolcase::e2e {

struct OwnedBox {
  SeenBox box;
  bool owner_enabled = true;  // as it was while the box was up
};

// Waits on a second thread for the first visible box (class "#32770") owned
// by owner, records what it shows and whether its owner was enabled, and
// presses button_id.
class OwnedBoxWatcher {
 public:
  OwnedBoxWatcher(HWND owner, int button_id, DWORD timeout_ms = 5000);
  ~OwnedBoxWatcher();
  OwnedBoxWatcher(const OwnedBoxWatcher&) = delete;
  OwnedBoxWatcher& operator=(const OwnedBoxWatcher&) = delete;

  // Waits for the watcher to finish and tells what it saw.
  OwnedBox result();

 private:
  void watch(HWND owner, int button_id, DWORD timeout_ms);

  OwnedBox seen_;
  std::thread thread_;
};

// While it runs, closes every box of this process that stays up longer than
// grace_ms (0: at once) by pressing its first button, and records its caption.
class StrayBoxGuard {
 public:
  explicit StrayBoxGuard(DWORD grace_ms);
  ~StrayBoxGuard();
  StrayBoxGuard(const StrayBoxGuard&) = delete;
  StrayBoxGuard& operator=(const StrayBoxGuard&) = delete;

  // Stops the guard; the captions of the boxes it had to close.
  std::vector<std::string> stop();

 private:
  void guard(DWORD grace_ms);

  std::atomic<bool> stopping_{false};
  std::vector<std::string> closed_;
  std::thread thread_;
};

}  // namespace toolcase::e2e
