// toolcase-call: runs one toolcase.dll command from a terminal or a batch
// file, calling it exactly as mIRC does, and prints the answer.
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "hostcall/host_call.h"

namespace {

enum ExitCode { kOk = 0, kUsage = 2, kNoDll = 3, kNoCommand = 4, kBadCall = 5 };

void print_usage(FILE* to) {
  std::fputs(
      "usage: toolcase-call.exe [--dll PATH] COMMAND [TEXT...]\n"
      "Calls COMMAND of toolcase.dll (by default the one beside this program) with\n"
      "TEXT (the words joined by single blanks) and prints the answer.\n",
      to);
}

std::string dll_beside_this_program() {
  char path[MAX_PATH] = {};
  const DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
  std::string folder(path, length < MAX_PATH ? length : 0);
  const std::size_t slash = folder.find_last_of("\\/");
  folder.erase(slash == std::string::npos ? 0 : slash + 1);
  return folder + "toolcase.dll";
}

}  // namespace

int main(int argc, char** argv) {
  std::string dll_path = dll_beside_this_program();
  int next = 1;
  if (next < argc && std::strcmp(argv[next], "--dll") == 0) {
    if (next + 1 >= argc) {
      print_usage(stderr);
      return kUsage;
    }
    dll_path = argv[next + 1];
    next += 2;
  }
  if (next >= argc) {
    print_usage(stderr);
    return kUsage;
  }
  const char* command = argv[next++];
  std::string text;
  for (const int first_word = next; next < argc; ++next) {
    if (next > first_word) text += ' ';
    text += argv[next];
  }

  HMODULE dll = LoadLibraryA(dll_path.c_str());
  if (dll == nullptr) {
    std::fprintf(stderr, "toolcase-call: cannot load %s (error %lu)\n", dll_path.c_str(),
                 GetLastError());
    return kNoDll;
  }
  FARPROC fn = GetProcAddress(dll, command);
  if (fn == nullptr) {
    std::fprintf(stderr, "toolcase-call: %s has no command named %s\n", dll_path.c_str(), command);
    FreeLibrary(dll);
    return kNoCommand;
  }
  const toolcase::host::CallRecord record = toolcase::host::call_like_host(fn, text);
  FreeLibrary(dll);
  if (record.returned != 3 || record.stack_bytes_removed != toolcase::host::kArgumentBytes ||
      !record.guard_intact) {
    std::fprintf(stderr,
                 "toolcase-call: %s broke the host's convention (returned %d, removed %d bytes, "
                 "buffer guard %s)\n",
                 command, record.returned, record.stack_bytes_removed,
                 record.guard_intact ? "intact" : "overwritten");
    return kBadCall;
  }
  std::fwrite(record.answer.data(), 1, record.answer.size(), stdout);
  std::fputc('\n', stdout);
  return kOk;
}
