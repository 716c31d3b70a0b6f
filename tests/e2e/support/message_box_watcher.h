// Closes message boxes for tests: a second thread waits for a box (class
// "#32770") with a given caption, records what it shows and presses a button.
// Every wait has a time-out, so a box that never comes cannot hang a test.
#pragma once

#include <windows.h>

#include <string>
#include <thread>
#include <vector>

namespace toolcase::e2e {

struct SeenBox {
  bool found = false;
  HWND owner = nullptr;
  std::string caption;
  std::string text;             // the message text
  std::wstring wide_caption;    // both again, read with the wide calls
  std::wstring wide_text;
  std::vector<int> button_ids;  // IDOK, IDCANCEL, ... present in the box
  HICON icon = nullptr;         // the icon the box shows, if any
};

class MessageBoxWatcher {
 public:
  // Starts watching at once; presses button_id on the first box with caption.
  MessageBoxWatcher(std::string caption, int button_id, DWORD timeout_ms = 10000);
  ~MessageBoxWatcher();
  MessageBoxWatcher(const MessageBoxWatcher&) = delete;
  MessageBoxWatcher& operator=(const MessageBoxWatcher&) = delete;

  // Waits for the watcher to finish and tells what it saw.
  SeenBox result();

 private:
  void watch(std::string caption, int button_id, DWORD timeout_ms);

  SeenBox seen_;
  std::thread thread_;
};

// What a message box shows.
SeenBox read_message_box(HWND box);
// Presses one of the box's buttons.
void press_button(HWND box, int button_id);

// Control ids inside a message box.
inline constexpr int kMessageBoxTextId = 0xFFFF;
inline constexpr int kMessageBoxIconId = 0x0440;

}  // namespace toolcase::e2e
