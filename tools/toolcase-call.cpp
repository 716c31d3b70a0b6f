// toolcase-call: runs one toolcase.dll command from a terminal or a batch
// file, calling it exactly as mIRC does, and prints the answer.
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "hostcall/host_call.h"

namespace {

enum ExitCode { kOk = 0, kUsage = 2, kNoDll = 3, kNoCommand = 4, kBadCall = 5 };

struct CommandSummary {
  const char* name;
  const char* summary;
};

// In export order.
constexpr CommandSummary kCommands[] = {
    {"DLLInfo", "msg: show the information box; otherwise answer the one-line information"},
    {"Beep", "information | warning | error | default: play that alert sound"},
    {"MessageDialog", "buttons;icon;caption;message: show a box, answer the button pressed"},
    {"DesktopIcons", "disable | enable | show | hide: the desktop icon window"},
    {"StartButton", "show | hide: the taskbar's Start button; simulate: open the Start menu"},
    {"ScreenSaver", "start the screen saver (input ignored)"},
    {"ProcessIsRunning", "EXE-NAME: is a process of that executable name running?"},
    {"KillProcess", "EXE-NAME: end every process of that executable name"},
    {"WindowClose", "WINDOW: ask the window (class name or title) to close"},
    {"WindowMaximize", "WINDOW: maximise the window"},
    {"WindowMinimize", "WINDOW: minimise the window"},
    {"WindowActivate", "WINDOW: bring the window to the foreground"},
    {"ChangeWindowText", "WINDOW;NEW CAPTION: set the window's caption"},
    {"WindowText", "WINDOW: answer the window's caption"},
    {"WindowDisable", "WINDOW: disable the window"},
    {"WindowEnable", "WINDOW: enable the window"},
    {"WindowHide", "WINDOW: hide the window"},
    {"WindowIsVisible", "WINDOW: is the window visible?"},
    {"WindowShow", "WINDOW: show the window"},
    {"Screen", "width | height | resolution: the primary screen's size in pixels"},
    {"Memory", "total | used | available | pfilesize | pfileavailable | vmemorytotal | "
               "vmemoryavailable"},
    {"UserName", "the name of the user the host runs as (input ignored)"},
    {"ComputerName", "get: the computer's name; set NAME: rename the computer"},
    {"GetDir", "system | windows | temp | fulltemp: a system folder"},
    {"ExtractFullPath", "PATH: the path with the names the file system stores"},
};

void print_usage(FILE* to) {
  std::fputs(
      "usage: toolcase-call.exe [--dll PATH] COMMAND [TEXT...]\n"
      "       toolcase-call.exe --list | --help\n"
      "\n"
      "Calls COMMAND of toolcase.dll (by default the one beside this program) as\n"
      "mIRC does, with TEXT (the words joined by single blanks), and prints the\n"
      "answer on a line of its own. Most commands answer true, false or error.\n"
      "\n"
      "  --dll PATH  use the DLL at PATH\n"
      "  --list      list the commands, one line each\n"
      "  --help      show this text\n"
      "\n"
      "Exit codes: 0 answered, 2 usage, 3 DLL not loadable, 4 no such command,\n"
      "5 the command broke the host's calling convention.\n",
      to);
}

void print_commands() {
  for (const CommandSummary& command : kCommands) {
    std::printf("%-17s %s\n", command.name, command.summary);
  }
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
  if (argc == 2 && (std::strcmp(argv[1], "--help") == 0 || std::strcmp(argv[1], "-h") == 0 ||
                    std::strcmp(argv[1], "/?") == 0)) {
    print_usage(stdout);
    return kOk;
  }
  if (argc == 2 && std::strcmp(argv[1], "--list") == 0) {
    print_commands();
    return kOk;
  }
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
  namespace host = toolcase::host;
  const host::CallRecord record = host::call_like_host(fn, text);
  FreeLibrary(dll);
  const bool arguments_removed =
      host::arguments_removed_as_host_expects(record.stack_bytes_removed);
  if (record.returned != 3 || !arguments_removed || !record.guard_intact) {
    std::fprintf(stderr, "toolcase-call: %s broke the host's convention (returned %d, ", command,
                 record.returned);
    if (host::kCalleeRemovesArguments) {
      std::fprintf(stderr, "removed %d bytes, ", record.stack_bytes_removed);
    }
    std::fprintf(stderr, "buffer guard %s)\n", record.guard_intact ? "intact" : "overwritten");
    return kBadCall;
  }
  std::fwrite(record.answer.data(), 1, record.answer.size(), stdout);
  std::fputc('\n', stdout);
  return kOk;
}
