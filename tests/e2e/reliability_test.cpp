// The host's safety under hostile input and under two callers at once: every
// call returns 3, removes its 24 bytes (on 32-bit), keeps its answer inside
// the 900-byte buffer and gives one of the words it can give. Nothing here can reach a
// window, process or box the test did not create.
#include <windows.h>

#include <gtest/gtest.h>

#include <array>
#include <atomic>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "host/module_strings.h"
#include "linked_commands.h"
#include "notify_box_watch.h"
#include "test_window.h"
#include "toolcase_dll.h"

using namespace toolcase;
using namespace toolcase::e2e;

namespace {

std::vector<std::string> hostile_inputs() {
  std::string every_byte;
  for (int byte = 0x01; byte <= 0xFF; ++byte) every_byte += static_cast<char>(byte);
  std::string long_run;
  for (int i = 0; i < 899; ++i) long_run += static_cast<char>('!' + i % 90);
  return {"",
          std::string(899, 'A'),
          every_byte,
          "%s%s%s%s%n%n%x%x%p%999999d%.9999f",
          std::string(300, ';'),
          std::string(300, '\\'),
          ";\\;\\;\\\\;;\\\\\\",
          "line one\r\nline two\rthree\nfour\r\n",
          long_run};
}

// A name, or the window part of a caption change, that cannot be a window's:
// the empty text would find the first untitled window on the desktop.
bool names_a_window(const std::string& command) {
  return command.rfind("Window", 0) == 0;
}

std::string safe_input(const std::string& command, const std::string& hostile) {
  if (command == "ChangeWindowText") return unique_name("no such window") + ";" + hostile;
  if (names_a_window(command) && hostile.empty()) return unique_name("no such window");
  return hostile;
}

}  // namespace

TEST(HostileInput, EveryCommandKeepsTheHostsConvention) {
  TestWindow taskbar("Shell_TrayWnd", "", false, quiet_taskbar_proc);
  SetWindowPos(taskbar.handle(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  ASSERT_EQ(FindWindowA("Shell_TrayWnd", nullptr), taskbar.handle());
  StrayBoxGuard boxes(0);

  for (const auto& [name, ordinal] : all_commands()) {
    for (const std::string& hostile : hostile_inputs()) {
      SCOPED_TRACE(name + " with " + std::to_string(hostile.size()) + " bytes");
      const host::CallRecord record = call_record(name.c_str(), safe_input(name, hostile));
      EXPECT_LE(record.answer.size(), 899u);
    }
  }
  EXPECT_TRUE(boxes.stop().empty()) << "a hostile input showed a box";
}

TEST(HostileInput, AnUnterminatedBufferIsReadNoFurtherThanItsEnd) {
  StrayBoxGuard boxes(0);
  for (const char* name : {"DLLInfo", "Beep", "MessageDialog", "Memory", "GetDir",
                           "ExtractFullPath", "ProcessIsRunning", "ComputerName", "WindowText"}) {
    // 900 bytes without a NUL, then guard bytes: a host that forgot the NUL.
    std::array<char, host::kDataBufferSize + host::kGuardSize> buffer;
    buffer.fill(static_cast<char>(host::kGuardByte));
    std::fill_n(buffer.begin(), host::kDataBufferSize, '\\');
    int removed = 0;
    EXPECT_EQ(host::call_command(command(name), nullptr, nullptr, buffer.data(), nullptr, FALSE,
                                 FALSE, removed),
              3)
        << name;
    EXPECT_TRUE(host::arguments_removed_as_host_expects(removed))
        << name << " removed " << removed << " bytes";
    EXPECT_NE(std::find(buffer.begin(), buffer.begin() + host::kDataBufferSize, '\0'),
              buffer.begin() + host::kDataBufferSize)
        << name << ": no answer inside the buffer";
    EXPECT_TRUE(std::all_of(buffer.begin() + host::kDataBufferSize, buffer.end(),
                            [](char c) { return static_cast<unsigned char>(c) == host::kGuardByte; }))
        << name << ": wrote past the buffer";
  }
  EXPECT_TRUE(boxes.stop().empty());
}

namespace {

struct MixedCall {
  const char* command;
  std::string input;
  std::set<std::string> answers;  // every word this call can give
};

// Calls that touch module state (ScratchText, CaptionTarget, CaptionText) or
// the ToolHelp binding, none of which can show a box or reach anything the
// test did not create. ComputerName renames the machine of the throwaway prefix.
std::vector<MixedCall> mixed_calls(const std::string& window_class, int thread) {
  const std::string tag = std::to_string(thread);
  return {
      {"ChangeWindowText", window_class + "; caption from thread " + tag, {"true", "false"}},
      {"ChangeWindowText", unique_name("no such window") + ";x", {"error"}},
      {"Beep", "Information", {"true", "false"}},
      {"Beep", "question", {"error"}},
      {"MessageDialog", "ok;info;T;Hello", {"error"}},
      {"MessageDialog", "okay;information;Title;Hello", {"error"}},
      {"MessageDialog", "ok;information;T;x", {"error"}},
      {"ComputerName", "set TOOLCASE" + tag, {"true", "false"}},
      {"ComputerName", "set", {"error"}},
      {"ProcessIsRunning", "explorer.exe", {"true"}},
      {"ProcessIsRunning", unique_name("no-such-program") + ".exe", {"false"}},
  };
}

}  // namespace

TEST(Concurrency, FourCallersAtOnceGetOnlyTheirCommandsWords) {
  constexpr int kThreads = 4;
  constexpr int kCallsPerThread = 5000;
  const std::string window_class = unique_name("toolcase-concurrency");
  TestWindow window(window_class, "before", false);
  StrayBoxGuard boxes(0);

  std::atomic<int> finished{0};
  std::vector<std::vector<std::string>> faults(kThreads);
  std::vector<std::thread> callers;
  for (int thread = 0; thread < kThreads; ++thread) {
    callers.emplace_back([&, thread] {
      const std::vector<MixedCall> calls = mixed_calls(window_class, thread);
      for (int i = 0; i < kCallsPerThread; ++i) {
        const MixedCall& call = calls[(i + thread) % calls.size()];
        const host::CallRecord record = host::call_like_host(command(call.command), call.input);
        const bool arguments_removed =
            host::arguments_removed_as_host_expects(record.stack_bytes_removed);
        if (record.returned != 3 || !arguments_removed || !record.guard_intact ||
            !record.answer_terminated || call.answers.count(record.answer) == 0) {
          faults[thread].push_back(std::string(call.command) + "(" + call.input + ") -> " +
                                   record.answer);
        }
      }
      ++finished;
    });
  }
  // Captions are set by messages to this thread: keep delivering them.
  while (finished < kThreads) {
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    pump_messages();
  }
  for (std::thread& caller : callers) caller.join();

  for (int thread = 0; thread < kThreads; ++thread) {
    EXPECT_TRUE(faults[thread].empty())
        << faults[thread].size() << " faults in thread " << thread << ", first: "
        << faults[thread].front();
  }
  EXPECT_TRUE(boxes.stop().empty());
  char caption[64] = {};
  GetWindowTextA(window.handle(), caption, sizeof caption);
  EXPECT_EQ(std::string(caption).rfind("caption from thread ", 0), 0u) << caption;
}

TEST(Concurrency, ModuleStringsHoldAWholeValueAfterConcurrentWrites) {
  constexpr int kThreads = 4;
  constexpr int kCallsPerThread = 2000;
  std::set<std::string> written;
  for (int thread = 0; thread < kThreads; ++thread) {
    written.insert(std::string("no such window ") + std::string(40 + thread, 'a' + thread));
  }
  std::vector<std::thread> callers;
  for (int thread = 0; thread < kThreads; ++thread) {
    callers.emplace_back([thread] {
      const std::string target = std::string("no such window ") + std::string(40 + thread, 'a' + thread);
      for (int i = 0; i < kCallsPerThread; ++i) {
        std::array<char, host::kDataBufferSize> buffer{};
        const std::string input = target + ";" + target;
        std::copy(input.begin(), input.end(), buffer.begin());
        ChangeWindowText(nullptr, nullptr, buffer.data(), nullptr, FALSE, FALSE);
        std::string sound = i % 2 ? "WARNING" : "question";
        std::copy(sound.begin(), sound.end(), buffer.begin());
        buffer[sound.size()] = '\0';
        BeepCommand(nullptr, nullptr, buffer.data(), nullptr, FALSE, FALSE);
      }
    });
  }
  for (std::thread& caller : callers) caller.join();
  const std::string target(CaptionTarget.value());
  const std::string caption(CaptionText.value());
  EXPECT_EQ(written.count(target), 1u) << target;
  EXPECT_EQ(written.count(caption), 1u) << caption;
  const std::string scratch(ScratchText.value());
  EXPECT_TRUE(scratch == "warning" || scratch == "question") << scratch;
}
