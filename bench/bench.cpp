// Times each command against the raw platform calls it makes, interleaved
// (A B A B ...) over several rounds, and prints the median ratio per pair.
// The command is called as mIRC calls it, through the DLL's export.
#include <windows.h>
#include <tlhelp32.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "hostcall/host_call.h"

namespace {

using Action = std::function<void()>;

double now_seconds() {
  static const double frequency = [] {
    LARGE_INTEGER f;
    QueryPerformanceFrequency(&f);
    return static_cast<double>(f.QuadPart);
  }();
  LARGE_INTEGER counter;
  QueryPerformanceCounter(&counter);
  return static_cast<double>(counter.QuadPart) / frequency;
}

double seconds_per_call(const Action& action, int calls) {
  const double start = now_seconds();
  for (int i = 0; i < calls; ++i) action();
  return (now_seconds() - start) / calls;
}

double median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  const std::size_t middle = values.size() / 2;
  return values.size() % 2 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

struct Timing {
  double command;  // median seconds per call
  double raw;
};

// Rounds of `calls` calls of each, alternating which goes first.
Timing compare(const Action& command, const Action& raw, int calls, int rounds = 15) {
  command();  // warm both up: first-use binding, page faults
  raw();
  std::vector<double> command_times, raw_times;
  for (int round = 0; round < rounds; ++round) {
    if (round % 2 == 0) {
      command_times.push_back(seconds_per_call(command, calls));
      raw_times.push_back(seconds_per_call(raw, calls));
    } else {
      raw_times.push_back(seconds_per_call(raw, calls));
      command_times.push_back(seconds_per_call(command, calls));
    }
  }
  return {median(command_times), median(raw_times)};
}

int failures = 0;

void report(const char* pair, const Timing& timing, double target) {
  const double ratio = timing.command / timing.raw;
  const bool met = ratio <= target;
  if (!met) ++failures;
  std::printf("%-48s %9.2f us %9.2f us   ratio %5.2f  (target <= %.2f) %s\n", pair,
              timing.command * 1e6, timing.raw * 1e6, ratio, target, met ? "ok" : "MISSED");
}

// A command of the DLL, called as the host calls it, on a buffer prepared once
// per call the way the host copies the script's text in.
class Command {
 public:
  Command(HMODULE dll, const char* name, std::string input)
      : fn_(GetProcAddress(dll, name)), input_(std::move(input)) {
    if (fn_ == nullptr) {
      std::fprintf(stderr, "bench: toolcase.dll has no %s\n", name);
      ExitProcess(2);
    }
  }
  std::string answer() {
    operator()();
    return buffer_;
  }
  void operator()() {
    std::memcpy(buffer_, input_.c_str(), input_.size() + 1);
    int removed = 0;
    toolcase::host::call_command(fn_, nullptr, nullptr, buffer_, parameters_, FALSE, FALSE, removed);
  }

 private:
  FARPROC fn_;
  std::string input_;
  char buffer_[toolcase::host::kDataBufferSize] = {};
  char parameters_[toolcase::host::kDataBufferSize] = {};
};

// The file-name part, upper-cased, compared with an upper-case name: the
// comparison a caller of the bare ToolHelp walk would make.
bool exe_name_matches(const char* exe_file, const char* upper_name) {
  const char* part = exe_file;
  for (const char* p = exe_file; *p; ++p) {
    if (*p == '\\' || *p == ':') part = p + 1;
  }
  for (; *part && *upper_name; ++part, ++upper_name) {
    const char c = (*part >= 'a' && *part <= 'z') ? static_cast<char>(*part - 0x20) : *part;
    if (c != *upper_name) return false;
  }
  return *part == *upper_name;
}

using CreateSnapshotFn = HANDLE(WINAPI*)(DWORD, DWORD);
using WalkFn = BOOL(WINAPI*)(HANDLE, PROCESSENTRY32*);

bool bare_toolhelp_walk(const char* upper_name, int* entries) {
  static const HMODULE kernel = GetModuleHandleA("kernel32.dll");
  static const auto create = reinterpret_cast<CreateSnapshotFn>(
      reinterpret_cast<void (*)()>(GetProcAddress(kernel, "CreateToolhelp32Snapshot")));
  static const auto first = reinterpret_cast<WalkFn>(
      reinterpret_cast<void (*)()>(GetProcAddress(kernel, "Process32First")));
  static const auto next = reinterpret_cast<WalkFn>(
      reinterpret_cast<void (*)()>(GetProcAddress(kernel, "Process32Next")));
  const HANDLE snapshot = create(TH32CS_SNAPPROCESS, 0);
  PROCESSENTRY32 entry{};
  entry.dwSize = sizeof entry;
  bool found = false;
  int count = 0;
  for (BOOL more = first(snapshot, &entry); more; more = next(snapshot, &entry)) {
    ++count;
    found = exe_name_matches(entry.szExeFile, upper_name) || found;
  }
  CloseHandle(snapshot);
  if (entries) *entries = count;
  return found;
}

// Processes that only wait, to grow the process list; ended by their handles.
class Sleepers {
 public:
  explicit Sleepers(int count) {
    char self[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, self, MAX_PATH);
    std::string command = std::string("\"") + self + "\" --sleep";
    for (int i = 0; i < count; ++i) {
      STARTUPINFOA startup{};
      startup.cb = sizeof startup;
      PROCESS_INFORMATION process{};
      std::vector<char> line(command.begin(), command.end());
      line.push_back('\0');
      if (CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                         &startup, &process)) {
        CloseHandle(process.hThread);
        processes_.push_back(process.hProcess);
      }
    }
    Sleep(1500);  // let them all appear in the process list
  }
  ~Sleepers() {
    for (HANDLE process : processes_) {
      TerminateProcess(process, 0);
      WaitForSingleObject(process, 5000);
      CloseHandle(process);
    }
  }

 private:
  std::vector<HANDLE> processes_;
};

std::string temp_folder() {
  char path[MAX_PATH] = {};
  GetTempPathA(MAX_PATH, path);
  return path;
}

// A folder five long names deep; answers its short form.
std::string make_deep_folder(std::vector<std::string>& created) {
  std::string path = temp_folder() + "toolcase bench " + std::to_string(GetCurrentProcessId());
  for (int depth = 0; depth < 5; ++depth) {
    if (depth > 0) path += "\\long component name " + std::to_string(depth);
    CreateDirectoryA(path.c_str(), nullptr);
    created.push_back(path);
  }
  char short_path[MAX_PATH] = {};
  GetShortPathNameA(path.c_str(), short_path, MAX_PATH);
  return short_path;
}

LRESULT CALLBACK plain_window_proc(HWND window, UINT message, WPARAM w, LPARAM l) {
  return DefWindowProcA(window, message, w, l);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc == 2 && std::strcmp(argv[1], "--sleep") == 0) {
    Sleep(INFINITE);
    return 0;
  }
  char self[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, self, MAX_PATH);
  std::string dll_path = self;
  dll_path.erase(dll_path.find_last_of('\\') + 1);
  dll_path += "toolcase.dll";
  const HMODULE dll = LoadLibraryA(dll_path.c_str());
  if (dll == nullptr) {
    std::fprintf(stderr, "bench: cannot load %s\n", dll_path.c_str());
    return 2;
  }
  std::printf("%-48s %12s %12s\n", "pair (command vs raw platform calls)", "command", "raw");

  // Windows: a window of the bench's own, found by its class name.
  WNDCLASSA window_class{};
  window_class.lpfnWndProc = plain_window_proc;
  window_class.hInstance = GetModuleHandleA(nullptr);
  window_class.lpszClassName = "toolcase-bench-window";
  RegisterClassA(&window_class);
  const HWND window = CreateWindowExA(0, "toolcase-bench-window", "Bench window caption",
                                      WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 200, 100, nullptr,
                                      nullptr, GetModuleHandleA(nullptr), nullptr);
  Command is_visible(dll, "WindowIsVisible", "toolcase-bench-window");
  report("WindowIsVisible vs FindWindowA+IsWindowVisible",
         compare(is_visible, [] { IsWindowVisible(FindWindowA("toolcase-bench-window", nullptr)); },
                 2000),
         1.10);
  Command window_text(dll, "WindowText", "toolcase-bench-window");
  report("WindowText vs FindWindowA+GetWindowTextA", compare(window_text, [] {
           char caption[256] = {};
           GetWindowTextA(FindWindowA("toolcase-bench-window", nullptr), caption, 255);
         }, 2000),
         1.10);
  DestroyWindow(window);

  // Processes: the whole list walked, with the list at two lengths.
  Command is_running(dll, "ProcessIsRunning", "no-such-program.exe");
  for (int extra : {0, 50}) {
    Sleepers sleepers(extra);
    int entries = 0;
    bare_toolhelp_walk("NO-SUCH-PROGRAM.EXE", &entries);
    const Timing timing =
        compare(is_running, [] { bare_toolhelp_walk("NO-SUCH-PROGRAM.EXE", nullptr); }, 100);
    char pair[64];
    std::snprintf(pair, sizeof pair, "ProcessIsRunning vs ToolHelp walk (%d processes)", entries);
    report(pair, timing, 1.10);
    std::printf("%-48s %9.2f us per process entry\n", "", timing.command * 1e6 / entries);
  }

  // Long paths: five short components.
  std::vector<std::string> created;
  const std::string short_path = make_deep_folder(created);
  Command full_path(dll, "ExtractFullPath", short_path);
  report("ExtractFullPath (5 components) vs GetLongPathNameA", compare(full_path, [&] {
           char long_path[MAX_PATH];
           GetLongPathNameA(short_path.c_str(), long_path, MAX_PATH);
         }, 200),
         1.5);
  for (auto folder = created.rbegin(); folder != created.rend(); ++folder) {
    RemoveDirectoryA(folder->c_str());
  }

  // Machine facts.
  Command memory(dll, "Memory", "total");
  report("Memory total vs GlobalMemoryStatus", compare(memory, [] {
           MEMORYSTATUS status{};
           status.dwLength = sizeof status;
           GlobalMemoryStatus(&status);
         }, 2000),
         1.10);
  Command screen(dll, "Screen", "resolution");
  report("Screen resolution vs 2x GetSystemMetrics", compare(screen, [] {
           GetSystemMetrics(SM_CXSCREEN);
           GetSystemMetrics(SM_CYSCREEN);
         }, 2000),
         1.10);
  return failures == 0 ? 0 : 1;
}
