// mIRC loads and frees a DLL again and again in one process. 2,000 such
// cycles, each calling every command that shows nothing and changes nothing
// outside this test, must leave no thread-local storage slot, kernel handle,
// thread or private memory behind, and the DLL unloaded at the end.
//
// The figures are read every 250 cycles and the run stops at the first
// reading over a limit: a leak that large only grows, and a TLS slot kept per
// load would use up the process's 1,088 slots (which aborts it) after about a
// thousand cycles. Private memory may grow by 64 KB in all, heap growth and
// Wine's own caches; a DLL that keeps 32 bytes per load would exceed it.
//
// Runs beside other tests: it watches only its own process.
#include <windows.h>

#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "process_probes.h"
#include "test_window.h"
#include "toolcase_dll.h"

using namespace toolcase;
using namespace toolcase::e2e;

namespace {

constexpr int kCycles = 2000;
constexpr int kCyclesBetweenReadings = 250;
// Loads before the first reading: the platform's one-time work for the
// first load of a DLL and the first call of each command is not the DLL's.
constexpr int kWarmUpCycles = 5;
constexpr std::size_t kPrivateBytesTolerance = 64 * 1024;
// Kernel handle values step by 4.
constexpr std::uintptr_t kHandleStep = 4;

// A command called once per cycle and its answer: a fixed word, or, when
// empty, any answer but "error" (a fact of this machine).
struct HarmlessCall {
  const char* command;
  std::string input;
  std::string answer;
};

std::string temp_folder() {
  char path[MAX_PATH] = {};
  const DWORD length = GetTempPathA(MAX_PATH, path);
  return std::string(path, length > 0 ? length - 1 : 0);  // without the final '\'
}

std::vector<HarmlessCall> harmless_calls() {
  // Not empty: an empty text finds the first untitled window.
  const std::string no_window = unique_name("toolcase-lifecycle-no-such-window");
  std::vector<HarmlessCall> calls = {
      {"DLLInfo", "", ""},
      {"Beep", "nosuchsound", "error"},
      {"MessageDialog", "maybe;information;Title;Hello", "error"},
      {"StartButton", "nosuchkeyword", "error"},
      {"DesktopIcons", "nosuchkeyword", "error"},
      {"ProcessIsRunning", unique_name("no-such-program") + ".exe", "false"},
      {"KillProcess", unique_name("no-such-program") + ".exe", "false"},
      {"WindowIsVisible", no_window, "false"},
      {"ChangeWindowText", no_window + ";x", "error"},
      {"Screen", "width", ""},
      {"Memory", "total", ""},
      {"UserName", "", ""},
      {"ComputerName", "get", ""},
      {"GetDir", "temp", ""},
      {"GetDir", "fulltemp", ""},
      {"ExtractFullPath", temp_folder(), ""},
      {"WindowFind", "*", ""},  // loads the window manager's DLL on its first match
      {"OS", "version", ""},
      {"CPU", "cores", ""},
      {"Battery", "power", ""},
      {"WindowPos", no_window, "error"},
      {"Monitor", "1 scale", ""},  // loads shcore.dll
      // Starts the reader, which UnloadDll stops; a player window of a test
      // running beside this one may answer.
      {"Media", "status", ""},
      {"Foreground", "class", ""},
      {"Board", "", ""},  // the firmware table's pages
      {"Process", "path;pid:" + std::to_string(GetCurrentProcessId()), ""},  // opens a process
  };
  for (const char* command :
       {"WindowClose", "WindowMaximize", "WindowMinimize", "WindowActivate", "WindowText",
        "WindowDisable", "WindowEnable", "WindowHide", "WindowShow"}) {
    calls.push_back({command, no_window, "error"});
  }
  return calls;
}

// One cycle as the host makes it. Answers what went wrong, or "".
std::string load_call_free(const std::string& dll, const std::vector<HarmlessCall>& calls) {
  const HMODULE module = LoadLibraryA(dll.c_str());
  if (module == nullptr) {
    return "LoadLibraryA(" + dll + ") failed, error " + std::to_string(GetLastError());
  }
  std::string problem;
  for (const HarmlessCall& call : calls) {
    const FARPROC fn = GetProcAddress(module, call.command);
    if (fn == nullptr) {
      problem = std::string("no export ") + call.command;
      break;
    }
    const host::CallRecord record = host::call_like_host(fn, call.input);
    const bool answer_ok =
        call.answer.empty() ? !record.answer.empty() && record.answer != "error"
                            : record.answer == call.answer;
    // The arguments removed by the callee: 32-bit only.
    const bool arguments_removed =
        host::arguments_removed_as_host_expects(record.stack_bytes_removed);
    if (record.returned != 3 || !arguments_removed || !answer_ok) {
      problem = std::string(call.command) + "(\"" + call.input + "\") returned " +
                std::to_string(record.returned) + ", removed " +
                std::to_string(record.stack_bytes_removed) + " bytes, answered \"" +
                record.answer + "\"";
      break;
    }
  }
  // As mIRC does before it frees a DLL that exports UnloadDll.
  using UnloadDll = int(__stdcall*)(int);
  if (const auto unload = reinterpret_cast<UnloadDll>(reinterpret_cast<void (*)()>(GetProcAddress(module, "UnloadDll")));
      (unload == nullptr || unload(0) != 1) && problem.empty()) {
    problem = "UnloadDll(0) did not answer 1";
  }
  if (!FreeLibrary(module) && problem.empty()) {
    problem = "FreeLibrary failed, error " + std::to_string(GetLastError());
  }
  return problem;
}

struct Footprint {
  DWORD tls_index;
  std::uintptr_t handle_value;
  int threads;
  std::size_t private_bytes;
};

Footprint read_footprint() {
  return {next_tls_index(), next_handle_value(), thread_count(), private_bytes()};
}

long grown(std::size_t before, std::size_t after) {
  return static_cast<long>(after) - static_cast<long>(before);
}

bool within_limits(const Footprint& before, const Footprint& now) {
  return now.tls_index == before.tls_index && now.handle_value == before.handle_value &&
         now.threads == before.threads &&
         now.private_bytes <= before.private_bytes + kPrivateBytesTolerance;
}

}  // namespace

TEST(Lifecycle, TwoThousandLoadsLeaveNothingBehind) {
  // Not through toolcase_module(), which keeps the DLL loaded for the program.
  const std::string dll = toolcase_dll_path();
  const std::vector<HarmlessCall> calls = harmless_calls();
  // The system DLLs that commands load on first use, and whether the
  // program had them before.
  std::vector<std::pair<const char*, bool>> loaded_on_use;
  for (const char* name : {"dwmapi.dll", "shcore.dll"}) {
    loaded_on_use.emplace_back(name, GetModuleHandleA(name) != nullptr);
  }
  // WindowFind asks the window manager only about a visible match.
  const TestWindow shown(unique_name("toolcase-lifecycle"), unique_name("lifecycle"), true);
  for (int cycle = 1; cycle <= kWarmUpCycles; ++cycle) {
    const std::string problem = load_call_free(dll, calls);
    ASSERT_EQ(problem, "") << "warm-up cycle " << cycle;
  }
  read_footprint();  // the probes' own first-use allocations
  const Footprint before = read_footprint();

  const auto start = std::chrono::steady_clock::now();
  int cycles = 0;
  Footprint after = before;
  while (cycles < kCycles) {
    for (int i = 0; i < kCyclesBetweenReadings; ++i) {
      const std::string problem = load_call_free(dll, calls);
      ++cycles;
      ASSERT_EQ(problem, "") << "cycle " << cycles;
    }
    after = read_footprint();
    if (!within_limits(before, after)) break;
  }
  const double seconds =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();

  const long tls_slots = grown(before.tls_index, after.tls_index);
  const long handles = grown(before.handle_value, after.handle_value) /
                       static_cast<long>(kHandleStep);
  const long threads = after.threads - before.threads;
  const long bytes = grown(before.private_bytes, after.private_bytes);
  const std::string cycles_done =
      std::to_string(cycles) + (cycles < kCycles ? " of " + std::to_string(kCycles) : "") +
      " load/unload cycles";
  const auto per_cycle = [cycles](long total) {
    char figure[32];
    std::snprintf(figure, sizeof figure, "%.2f", static_cast<double>(total) / cycles);
    return std::string(figure) + " per cycle";
  };
  std::printf("%s in %.1f s (%.2f ms each): TLS slots %+ld, handles %+ld, threads %+ld, "
              "private bytes %+ld\n",
              cycles_done.c_str(), seconds, seconds * 1000 / cycles, tls_slots, handles, threads,
              bytes);

  EXPECT_EQ(tls_slots, 0) << "toolcase.dll keeps thread-local storage slots: " << tls_slots
                          << " after " << cycles_done << ", " << per_cycle(tls_slots);
  EXPECT_EQ(handles, 0) << "toolcase.dll keeps kernel handles: " << handles << " after "
                        << cycles_done << ", " << per_cycle(handles);
  EXPECT_EQ(threads, 0) << "toolcase.dll leaves threads running: " << threads << " after "
                        << cycles_done << ", " << per_cycle(threads);
  EXPECT_LE(bytes, static_cast<long>(kPrivateBytesTolerance))
      << "toolcase.dll keeps private memory: " << bytes << " bytes after " << cycles_done
      << ", " << per_cycle(bytes) << " (allowed: " << kPrivateBytesTolerance << " in all)";
  EXPECT_EQ(GetModuleHandleA("toolcase.dll"), nullptr)
      << "toolcase.dll is still loaded after its last FreeLibrary";
  for (const auto& [name, loaded_before] : loaded_on_use) {
    if (!loaded_before) {
      EXPECT_EQ(GetModuleHandleA(name), nullptr) << "toolcase.dll keeps " << name << " loaded";
    }
  }
}

// GPU loads dxgi.dll, which Wine takes 25 ms (32-bit) to 140 ms (x64) to load
// and free: given back once here, not in every cycle above.
TEST(Lifecycle, TheGraphicsLibraryIsGivenBackAtUnload) {
  if (GetModuleHandleA("dxgi.dll") != nullptr) GTEST_SKIP() << "this program has dxgi.dll loaded";
  EXPECT_EQ(load_call_free(toolcase_dll_path(), {{"GPU", "", ""}}), "");
  EXPECT_EQ(GetModuleHandleA("dxgi.dll"), nullptr) << "toolcase.dll keeps dxgi.dll loaded";
}

// Presence loads wtsapi32.dll and shell32.dll, Network iphlpapi.dll: given
// back at unload.
TEST(Lifecycle, TheSessionShellAndNetworkLibrariesAreGivenBackAtUnload) {
  const char* const libraries[] = {"wtsapi32.dll", "shell32.dll", "iphlpapi.dll"};
  for (const char* name : libraries) {
    if (GetModuleHandleA(name) != nullptr) GTEST_SKIP() << "this program has " << name << " loaded";
  }
  EXPECT_EQ(load_call_free(toolcase_dll_path(), {{"Presence", "", "here"}, {"Network", "sent", ""}}), "");
  for (const char* name : libraries) {
    EXPECT_EQ(GetModuleHandleA(name), nullptr) << "toolcase.dll keeps " << name << " loaded";
  }
}
