#include "toolcase_dll.h"

#include <gtest/gtest.h>

#include <cstdint>

namespace toolcase::e2e {

const std::vector<Export>& all_commands() {
  // Each block at the ordinal its first command was given; those between
  // blocks are left free.
  static const std::vector<Export> commands = [] {
    const std::vector<std::pair<unsigned, std::vector<std::string>>> blocks = {
        {1,
         {"DLLInfo",          "Beep",           "MessageDialog",    "DesktopIcons",
          "StartButton",      "ScreenSaver",    "ProcessIsRunning", "KillProcess",
          "WindowClose",      "WindowMaximize", "WindowMinimize",   "WindowActivate",
          "ChangeWindowText", "WindowText",     "WindowDisable",    "WindowEnable",
          "WindowHide",       "WindowIsVisible", "WindowShow",      "Screen",
          "Memory",           "UserName",       "ComputerName",     "GetDir",
          "ExtractFullPath",  "IdleTime",       "WindowFind",       "WindowTopmost",
          "OS",               "CPU",            "GPU",              "Battery",
          "WindowPos",        "WindowMove"}},
        {35, {"Watch", "WatchNext", "WatchStop"}},
        {39, {"Monitor", "Media", "Foreground", "Process", "Presence", "Network"}},
        {46, {"Audio", "Board"}},
    };
    std::vector<Export> exports;
    for (const auto& [first, names] : blocks) {
      for (std::size_t i = 0; i < names.size(); ++i) {
        exports.push_back({names[i], first + static_cast<unsigned>(i)});
      }
    }
    return exports;
  }();
  return commands;
}

std::string toolcase_dll_path() {
  char path[MAX_PATH] = {};
  const DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
  std::string dll(path, length < MAX_PATH ? length : 0);
  dll.erase(dll.find_last_of('\\') + 1);
  return dll + "toolcase.dll";
}

HMODULE toolcase_module() {
  static const HMODULE module = LoadLibraryA(toolcase_dll_path().c_str());
  return module;
}

FARPROC command(const char* name) {
  const HMODULE module = toolcase_module();
  EXPECT_NE(module, nullptr) << "toolcase.dll did not load";
  if (module == nullptr) return nullptr;
  const FARPROC fn = GetProcAddress(module, name);
  EXPECT_NE(fn, nullptr) << "toolcase.dll does not export " << name;
  return fn;
}

host::CallRecord call_record(const char* name, std::string_view input, HWND main_window) {
  const FARPROC fn = command(name);
  if (fn == nullptr) return {};
  return checked_call(fn, name, input, main_window);
}

host::CallRecord checked_call(FARPROC fn, const char* name, std::string_view input,
                              HWND main_window) {
  const host::CallRecord record = host::call_like_host(fn, input, main_window);
  EXPECT_EQ(record.returned, 3) << name;
  EXPECT_TRUE(host::arguments_removed_as_host_expects(record.stack_bytes_removed))
      << name << " removed " << record.stack_bytes_removed << " bytes";
  EXPECT_TRUE(record.answer_terminated) << name << ": answer not terminated inside the buffer";
  EXPECT_TRUE(record.tail_intact) << name << ": bytes after the answer's NUL changed";
  EXPECT_TRUE(record.guard_intact) << name << ": wrote past the 900-byte buffer";
  return record;
}

std::string call(const char* name, std::string_view input, HWND main_window) {
  return call_record(name, input, main_window).answer;
}

FreshToolcase::FreshToolcase() {
  char folder[MAX_PATH] = {};
  GetTempPathA(MAX_PATH, folder);
  // A name of its own: a copy that a test leaves loaded keeps its file.
  static int copies = 0;
  path_ = std::string(folder) + "toolcase-fresh-" + std::to_string(GetCurrentProcessId()) + "-" +
          std::to_string(++copies) + ".dll";
  EXPECT_TRUE(CopyFileA(toolcase_dll_path().c_str(), path_.c_str(), FALSE)) << path_;
  module_ = LoadLibraryA(path_.c_str());
  EXPECT_NE(module_, nullptr) << path_;
}

FreshToolcase::~FreshToolcase() {
  if (module_ != nullptr) FreeLibrary(module_);
  DeleteFileA(path_.c_str());
}

std::string FreshToolcase::call(const char* name, std::string_view input,
                                HWND main_window) const {
  const FARPROC fn = module_ != nullptr ? GetProcAddress(module_, name) : nullptr;
  EXPECT_NE(fn, nullptr) << "the copy does not export " << name;
  return fn != nullptr ? checked_call(fn, name, input, main_window).answer : "";
}

std::uintptr_t next_handle_value() {
  const HANDLE probe = CreateEventA(nullptr, FALSE, FALSE, nullptr);
  CloseHandle(probe);
  return reinterpret_cast<std::uintptr_t>(probe);
}

std::string utf8_of(const std::wstring& text) {
  std::string bytes(text.size() * 4, '\0');
  bytes.resize(static_cast<std::size_t>(
      WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), bytes.data(),
                          static_cast<int>(bytes.size()), nullptr, nullptr)));
  return bytes;
}

std::string handle_number(HWND window) {
  return std::to_string(static_cast<std::uint32_t>(reinterpret_cast<std::uintptr_t>(window)));
}

}  // namespace toolcase::e2e
