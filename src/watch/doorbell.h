// How the library rings the host: mIRC runs a command or evaluates an
// identifier that another program or a DLL writes into a shared mapping named
// "mIRC<N>" and names by N in WM_USER + 200 or + 201 to its main window.
#pragma once

#include <windows.h>

#include <string_view>

#include "host/bounded_text.h"

namespace toolcase::watch {

// Held from the first watch of a set to the last: a module-level object,
// never destroyed (the library keeps no exit list), closed by hand.
class Doorbell {
 public:
  // Makes the mapping, under the first name from mIRC1 to mIRC999 that no one
  // else holds, unless it has one; false when none can be made.
  bool open() noexcept;
  void close() noexcept;
  bool is_open() const noexcept { return view_ != nullptr; }

  // Whether the host runs the commands it is sent: it evaluates $version.
  bool host_takes_commands(HWND host) noexcept;
  // Asks the host for the user's command prefix ($comchar) as it is now,
  // which alone makes a line typed in mIRC's edit box a command, and sends
  // the one command that raises the script's signal event behind it, in the
  // form in which the host answered. False when the host gave no prefix of
  // one character (nothing is sent) or answered the command with 0.
  bool ring(HWND host) noexcept;

 private:
  // The identifier's value as the host wrote it back, asked in Unicode
  // (mIRC 7 and later); empty when the host answered nothing to that.
  std::wstring_view evaluate_unicode(HWND host, std::wstring_view identifier) noexcept;
  // The same, asked as the oldest hosts take it.
  std::string_view evaluate(HWND host, std::string_view identifier) noexcept;

  HANDLE mapping_ = nullptr;
  void* view_ = nullptr;
  int number_ = 0;
};

}  // namespace toolcase::watch
