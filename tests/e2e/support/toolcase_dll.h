// The DLL under test, loaded once per test program from beside the program,
// and calls into it that check the host's promises on every call.
#pragma once

#include <windows.h>

#include <string>
#include <string_view>
#include <vector>

#include "hostcall/host_call.h"

namespace toolcase::e2e {

// Every command, in export order, with its ordinal; UnloadDll, at 38, and
// LoadDll, at 45, have the host's own signatures and are not among them.
struct Export {
  std::string name;
  unsigned ordinal;
};
const std::vector<Export>& all_commands();

// The toolcase.dll beside the test program.
std::string toolcase_dll_path();
// That DLL, loaded once for the whole program and kept.
HMODULE toolcase_module();
// The export of that name; fails the test when it is missing.
FARPROC command(const char* name);

// Calls the command as mIRC does, expects the result 3, 24 bytes removed (on
// 32-bit), the answer NUL-terminated inside the buffer, the bytes after its
// NUL and the guard bytes behind the buffer untouched; returns the answer.
std::string call(const char* name, std::string_view input, HWND main_window = nullptr);

// The same call, with the full record for tests that look at the frame itself.
host::CallRecord call_record(const char* name, std::string_view input,
                             HWND main_window = nullptr);

// The same checks for a command linked into the test program (see
// linked_commands.h), e.g. call_linked(&ChangeWindowText, "win;caption").
template <typename Command>
std::string call_linked(Command* command, std::string_view input, HWND main_window = nullptr);
host::CallRecord checked_call(FARPROC fn, const char* name, std::string_view input,
                              HWND main_window);

template <typename Command>
std::string call_linked(Command* command, std::string_view input, HWND main_window) {
  // Through void(*)(), the generic function pointer type, as GetProcAddress gives.
  const auto fn = reinterpret_cast<FARPROC>(reinterpret_cast<void (*)()>(command));
  return checked_call(fn, "linked command", input, main_window)
      .answer;
}

// A private copy of the DLL, loaded for one test and freed after it: what the
// DLL binds on first use is this copy's own, as after a new load by the host,
// so a test can replace the copy's imports before its first call.
class FreshToolcase {
 public:
  FreshToolcase();
  ~FreshToolcase();
  FreshToolcase(const FreshToolcase&) = delete;
  FreshToolcase& operator=(const FreshToolcase&) = delete;

  HMODULE module() const { return module_; }
  const std::string& path() const { return path_; }
  std::string call(const char* name, std::string_view input, HWND main_window = nullptr) const;

 private:
  std::string path_;
  HMODULE module_ = nullptr;
};

// A UTF-16 text as UTF-8, converted by the platform, independently of the
// DLL's own codec.
std::string utf8_of(const std::wstring& text);

// A window handle as the commands and events write it: its low 32 bits,
// unsigned.
std::string handle_number(HWND window);

// The value the next kernel handle gets: a leak between two probes raises it.
// (GetProcessHandleCount is always 0 under Wine.)
std::uintptr_t next_handle_value();

}  // namespace toolcase::e2e
