// toolcase-call: runs one toolcase.dll command from a terminal or a batch
// file, calling it exactly as mIRC does, and prints the answer.
#include <windows.h>
#include <shellapi.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

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
    {"ProcessIsRunning", "EXE-NAME | pid:N: is a process of that name (or id) running?"},
    {"KillProcess", "EXE-NAME | pid:N: end every process of that name (or that one process)"},
    {"WindowClose", "WINDOW: ask the window (class name, title or hwnd:N) to close"},
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
    {"Screen", "width | height | resolution | hz | bits: the primary screen's size in pixels, refresh "
               "rate and colour depth"},
    {"Memory", "total | used | available | pfilesize | pfileavailable | vmemorytotal | "
               "vmemoryavailable"},
    {"UserName", "the name of the user the host runs as (input ignored)"},
    {"ComputerName", "get: the computer's name; set NAME: rename the computer"},
    {"GetDir", "system | windows | temp | fulltemp: a system folder"},
    {"ExtractFullPath", "PATH: the path with the names the file system stores"},
    {"IdleTime", "seconds since the last keyboard or mouse input (input ignored)"},
    {"WindowFind", "PATTERN: the title of the first window it matches (* and ?)"},
    {"WindowTopmost", "on;WINDOW | off;WINDOW: keep the window above the others, or not"},
    {"OS", "name | version | build | release | bits | installed: which Windows this is"},
    {"CPU", "name | vendor | cores | threads | speed | usage: the processor, and how busy it is"},
    {"GPU", "memory: its own video memory | anything else: the graphics card, the one with the most "
            "video memory"},
    {"Battery", "level | power | charging: the battery and the power supply"},
    {"WindowPos", "WINDOW: x y width height of the window as it is drawn, in real pixels"},
    {"WindowMove", "X Y;WINDOW | X Y WIDTH HEIGHT;WINDOW: move (and size) the window"},
    {"Watch", "NAME;idle SECONDS | NAME;window PATTERN | NAME;process EXE-NAME | NAME;media | "
              "NAME;front | NAME;presence: tell the script when it happens (from mIRC's own thread "
              "only); empty: the running watches"},
    {"WatchNext", "the oldest event a watch queued, or nothing"},
    {"WatchStop", "NAME: stop that watch; empty: stop every watch"},
    {"Monitor", "count | N | N work | N scale | of;WINDOW: the monitors, in real pixels"},
    {"Media", "empty (artist - title) | title | artist | album | player | status: what plays; "
              "toggle | next | previous | stop: the media keys"},
    {"Foreground", "empty (title) | title | class | hwnd | pid | exe | path: the window in front"},
    {"Process", "pid | name | path | window;EXE-NAME | pid:N | hwnd:N: what Windows tells of a "
                "process"},
    {"Presence", "locked | screensaver | game | presenting | fullscreen | here: is the user there "
                 "(input ignored)"},
    {"Network", "name | description | speed | received | sent | down | up: the adapter in use"},
    {"Audio", "empty (output) | output | input | card | count | N: the sound devices"},
    {"Board", "empty (board) | board | system | bios: the firmware's names of the machine"},
};

void print_usage(FILE* to) {
  std::fputs(
      "usage: toolcase-call.exe [--utf8] [--dll PATH] COMMAND [TEXT...]\n"
      "       toolcase-call.exe --list | --help\n"
      "\n"
      "Calls COMMAND of toolcase.dll (by default the one beside this program) as\n"
      "mIRC does, with TEXT (the words joined by single blanks), and prints the\n"
      "answer on a line of its own. Most commands answer true, false or error.\n"
      "\n"
      "  --utf8      call as mIRC 7 and later do: from a Unicode main window, with\n"
      "              TEXT and the answer in UTF-8, so that any language works;\n"
      "              without it, as an older host: in the system's ANSI code page\n"
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

std::wstring wide_path(const std::string& utf8_path) {
  std::wstring path(utf8_path.size() + 1, L'\0');
  path.resize(MultiByteToWideChar(CP_UTF8, 0, utf8_path.data(), static_cast<int>(utf8_path.size()),
                                  path.data(), static_cast<int>(path.size())));
  return path;
}

std::string utf8_of(const wchar_t* text) {
  const int bytes = WideCharToMultiByte(CP_UTF8, 0, text, -1, nullptr, 0, nullptr, nullptr);
  std::string converted(bytes > 0 ? bytes - 1 : 0, '\0');
  WideCharToMultiByte(CP_UTF8, 0, text, -1, converted.data(), bytes, nullptr, nullptr);
  return converted;
}

// In UTF-8 or in the ANSI code page, as the call's texts are.
std::string dll_beside_this_program(bool utf8) {
  std::string folder;
  if (utf8) {
    wchar_t path[MAX_PATH] = {};
    folder = GetModuleFileNameW(nullptr, path, MAX_PATH) < MAX_PATH ? utf8_of(path) : "";
  } else {
    char path[MAX_PATH] = {};
    const DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
    folder.assign(path, length < MAX_PATH ? length : 0);
  }
  const std::size_t slash = folder.find_last_of("\\/");
  folder.erase(slash == std::string::npos ? 0 : slash + 1);
  return folder + "toolcase.dll";
}

// The command line's words as UTF-8, whatever the ANSI code page holds.
std::vector<std::string> utf8_arguments() {
  int count = 0;
  LPWSTR* words = CommandLineToArgvW(GetCommandLineW(), &count);
  std::vector<std::string> arguments;
  for (int i = 0; i < count; ++i) arguments.push_back(utf8_of(words[i]));
  LocalFree(words);
  return arguments;
}

// A hidden window of a Unicode class: the main window a Unicode host passes.
HWND unicode_main_window() {
  WNDCLASSW window_class{};
  window_class.lpfnWndProc = DefWindowProcW;
  window_class.hInstance = GetModuleHandleW(nullptr);
  window_class.lpszClassName = L"toolcase-call-unicode-host";
  RegisterClassW(&window_class);
  return CreateWindowExW(0, window_class.lpszClassName, L"toolcase-call", WS_OVERLAPPEDWINDOW, 0,
                         0, 100, 100, nullptr, nullptr, window_class.hInstance, nullptr);
}

// The answer on a line of its own. A UTF-8 answer goes to a Windows console
// as wide text, which every console code page shows; elsewhere (a pipe, a
// file, a Linux terminal under Wine) as its bytes.
void print_answer(const std::string& answer, bool utf8) {
  DWORD mode = 0;
  const HANDLE out = GetStdHandle(STD_OUTPUT_HANDLE);
  if (utf8 && GetConsoleMode(out, &mode)) {
    std::wstring wide(answer.size() + 1, L'\0');
    const int units = MultiByteToWideChar(CP_UTF8, 0, answer.data(), static_cast<int>(answer.size()),
                                          wide.data(), static_cast<int>(wide.size()));
    wide.resize(units);
    wide += L"\r\n";
    DWORD written = 0;
    WriteConsoleW(out, wide.data(), static_cast<DWORD>(wide.size()), &written, nullptr);
    return;
  }
  std::fwrite(answer.data(), 1, answer.size(), stdout);
  std::fputc('\n', stdout);
}

}  // namespace

int main(int argc, char** argv) {
  const bool utf8 = argc > 1 && std::strcmp(argv[1], "--utf8") == 0;
  const int first = utf8 ? 2 : 1;
  if (argc == first + 1 &&
      (std::strcmp(argv[first], "--help") == 0 || std::strcmp(argv[first], "-h") == 0 ||
       std::strcmp(argv[first], "/?") == 0)) {
    print_usage(stdout);
    return kOk;
  }
  if (argc == first + 1 && std::strcmp(argv[first], "--list") == 0) {
    print_commands();
    return kOk;
  }
  // An older host's text is in the ANSI code page, as the C runtime reads the
  // command line; a Unicode host's in UTF-8.
  const std::vector<std::string> arguments =
      utf8 ? utf8_arguments() : std::vector<std::string>(argv, argv + argc);
  const int count = static_cast<int>(arguments.size());
  std::string dll_path = dll_beside_this_program(utf8);
  int next = first;
  if (next < count && arguments[next] == "--dll") {
    if (next + 1 >= count) {
      print_usage(stderr);
      return kUsage;
    }
    dll_path = arguments[next + 1];
    next += 2;
  }
  if (next >= count) {
    print_usage(stderr);
    return kUsage;
  }
  const std::string command = arguments[next++];
  std::string text;
  for (const int first_word = next; next < count; ++next) {
    if (next > first_word) text += ' ';
    text += arguments[next];
  }

  HMODULE dll = utf8 ? LoadLibraryW(wide_path(dll_path).c_str()) : LoadLibraryA(dll_path.c_str());
  if (dll == nullptr) {
    std::fprintf(stderr, "toolcase-call: cannot load %s (error %lu)\n", dll_path.c_str(),
                 GetLastError());
    return kNoDll;
  }
  // LoadDll and UnloadDll are the host's notices after it loads the DLL and
  // before it frees it, of other signatures.
  FARPROC fn = command != "UnloadDll" && command != "LoadDll" ? GetProcAddress(dll, command.c_str()) : nullptr;
  if (fn == nullptr) {
    std::fprintf(stderr, "toolcase-call: %s has no command named %s\n", dll_path.c_str(),
                 command.c_str());
    FreeLibrary(dll);
    return kNoCommand;
  }
  namespace host = toolcase::host;
  const HWND main_window = utf8 ? unicode_main_window() : nullptr;
  const host::CallRecord record = host::call_like_host(fn, text, main_window);
  FreeLibrary(dll);
  if (main_window != nullptr) DestroyWindow(main_window);
  const bool arguments_removed =
      host::arguments_removed_as_host_expects(record.stack_bytes_removed);
  if (record.returned != 3 || !arguments_removed || !record.guard_intact) {
    std::fprintf(stderr, "toolcase-call: %s broke the host's convention (returned %d, ",
                 command.c_str(), record.returned);
    if (host::kCalleeRemovesArguments) {
      std::fprintf(stderr, "removed %d bytes, ", record.stack_bytes_removed);
    }
    std::fprintf(stderr, "buffer guard %s)\n", record.guard_intact ? "intact" : "overwritten");
    return kBadCall;
  }
  print_answer(record.answer, utf8);
  return kOk;
}
