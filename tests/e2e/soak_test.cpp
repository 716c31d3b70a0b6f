// Long runs: 20,000 calls of each command that opens handles or allocates
// must leave the process's kernel handles and private memory where they were.
//
// Tolerances: handles none at all (a leaked handle per call, or per thousand,
// moves the next handle value); private memory 256 KB, which heap growth and
// Wine's own caches stay well inside, while a leak of 16 bytes per call would
// add 320 KB (measured: 20,000 blocks of 16 bytes commit 448 KB).
//
// Not run on 32-bit Windows: the handles and heap blocks a command takes and
// gives back are its own code's doing, and the same 32-bit DLL is soaked on
// 64-bit Windows (WoW64). 32-bit Windows would only change which system
// libraries answer, at the cost of the longest run in the suite once more.
//
// Runs beside other tests: it watches only its own process.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <string>

#include "process_probes.h"
#include "test_window.h"
#include "toolcase_dll.h"

using namespace toolcase;
using namespace toolcase::e2e;

namespace {

constexpr int kCalls = 20000;
constexpr int kWarmUpCalls = 500;
constexpr SIZE_T kPrivateBytesTolerance = 256 * 1024;

// Calls the command as the host does, without the per-call checks of call():
// those allocate, and the heap is what is being watched.
void call_many(const char* name, const std::string& input, int count) {
  const FARPROC fn = command(name);
  char buffer[host::kDataBufferSize];
  char parameters[host::kDataBufferSize] = {};
  for (int i = 0; i < count; ++i) {
    std::copy(input.begin(), input.end(), buffer);
    buffer[input.size()] = '\0';
    int removed = 0;
    host::call_command(fn, nullptr, nullptr, buffer, parameters, FALSE, FALSE, removed);
  }
}

std::string temp_path() {
  char path[MAX_PATH] = {};
  GetTempPathA(MAX_PATH, path);
  return path;
}

struct SoakCase {
  const char* command;
  std::string input;
};

void PrintTo(const SoakCase& soak, std::ostream* out) { *out << soak.command << "(" << soak.input << ")"; }

class Soak : public ::testing::TestWithParam<SoakCase> {};

}  // namespace

TEST_P(Soak, TwentyThousandCallsLeaveHandlesAndMemoryFlat) {
  const SoakCase& soak = GetParam();
  // Some commands are answered from the library's first use on (bindings,
  // locale facts): warm up before the first measurement.
  call_many(soak.command, soak.input, kWarmUpCalls);
  const std::uintptr_t handles_before = next_handle_value();
  const SIZE_T memory_before = private_bytes();

  call_many(soak.command, soak.input, kCalls);

  const SIZE_T memory_after = private_bytes();
  const std::uintptr_t handles_after = next_handle_value();
  EXPECT_EQ(handles_after, handles_before) << soak.command << " leaks kernel handles";
  EXPECT_LE(memory_after, memory_before + kPrivateBytesTolerance)
      << soak.command << ": private bytes grew by " << (memory_after - memory_before);
  std::printf("%-18s %6d calls: handles %+d, private bytes %+lld\n", soak.command, kCalls,
              static_cast<int>(handles_after - handles_before),
              static_cast<long long>(memory_after) - static_cast<long long>(memory_before));
}

namespace {

// The window WindowText reads is the test's own, made once for all cases.
const std::string& soak_window_class() {
  static const std::string name = unique_name("toolcase-soak");
  static TestWindow window(name, "a caption to read back", false);
  return name;
}

}  // namespace

INSTANTIATE_TEST_SUITE_P(
    OpensHandlesOrAllocates, Soak,
    ::testing::Values(SoakCase{"ProcessIsRunning", "explorer.exe"},
                      SoakCase{"KillProcess", unique_name("no-such-program") + ".exe"},
                      SoakCase{"ExtractFullPath", temp_path() + "no such file.txt"},
                      SoakCase{"GetDir", "fulltemp"},
                      SoakCase{"WindowText", soak_window_class()},
                      SoakCase{"UserName", ""},
                      SoakCase{"Memory", "vmemoryavailable"}),
    [](const ::testing::TestParamInfo<SoakCase>& param) { return std::string(param.param.command); });
