// CPU: the processor's name, speed and size as Windows stores them, and how
// busy it is, without ever waiting on the host's thread for a second sample.
#include <bit>
#include <cstdint>
#include <cstring>

#include "host/command.h"
#include "host/late_bound.h"
#include "host/spin_lock.h"
#include "host/text.h"
#include "host/wide_text.h"
#include "sysinfo/machine_facts.h"
#include "sysinfo/registry_values.h"

using namespace toolcase;

namespace {

constexpr wchar_t kProcessorKey[] = L"HARDWARE\\DESCRIPTION\\System\\CentralProcessor\\0";

// Windows 7 and later count the processors of every group; a 32-bit program
// is otherwise shown at most 32.
constexpr WORD kAllProcessorGroups = 0xFFFF;
constexpr DWORD kRelationProcessorCore = 0;
using GetActiveProcessorCount = DWORD(WINAPI*)(WORD);
using ProcessorQuery = BOOL(WINAPI*)(DWORD, void*, PDWORD);
LateBound active_processor_count(SystemModule::kernel32, "GetActiveProcessorCount");
LateBound logical_processor_information_ex(SystemModule::kernel32,
                                           "GetLogicalProcessorInformationEx");

// Windows XP SP3's and Vista's list, of the processors this program sees.
BOOL WINAPI legacy_processor_query(DWORD, void* buffer, PDWORD length) {
  return GetLogicalProcessorInformation(static_cast<PSYSTEM_LOGICAL_PROCESSOR_INFORMATION>(buffer),
                                        length);
}

// Windows' list of processors: an entry of 48 bytes or less per core, so
// room for some 680 cores, without the heap; one caller at a time.
alignas(8) BYTE processor_list[32 * 1024];
SpinLock processor_list_lock;

struct ProcessorCounts {
  DWORD cores;    // 0 when Windows cannot say
  DWORD threads;  // where Windows has no count of every group: those of the cores listed
};

ProcessorCounts count_processors() {
  auto query = logical_processor_information_ex.as<ProcessorQuery>();
  const bool extended = query != nullptr;
  if (!extended) query = legacy_processor_query;
  ProcessorCounts counts{0, 0};
  if (const auto count = active_processor_count.as<GetActiveProcessorCount>()) {
    counts.threads = count(kAllProcessorGroups);
  }
  const SpinLock::Guard guard(processor_list_lock);
  DWORD size = sizeof processor_list;
  // A list too long for the buffer counts no cores; the count of threads
  // above stands.
  if (!query(kRelationProcessorCore, processor_list, &size)) return counts;
  const bool threads_counted = counts.threads != 0;
  for (DWORD at = 0; at < size;) {
    // An extended entry starts with its relationship and its own size; the
    // older entries are of one size, with the relationship after a mask.
    DWORD relationship = 0;
    DWORD entry_size = sizeof(SYSTEM_LOGICAL_PROCESSOR_INFORMATION);
    if (extended) {
      std::memcpy(&relationship, processor_list + at, sizeof relationship);
      std::memcpy(&entry_size, processor_list + at + sizeof relationship, sizeof entry_size);
    } else {
      const auto& entry =
          *reinterpret_cast<const SYSTEM_LOGICAL_PROCESSOR_INFORMATION*>(processor_list + at);
      relationship = entry.Relationship;
      if (relationship == kRelationProcessorCore && !threads_counted) {
        counts.threads += static_cast<DWORD>(std::popcount(entry.ProcessorMask));
      }
    }
    if (entry_size == 0 || entry_size > size - at) break;
    counts.cores += relationship == kRelationProcessorCore;
    at += entry_size;
  }
  return counts;
}

// The processors' times since Windows started, in 100 ns units.
struct TimesSample {
  bool valid;
  std::uint64_t idle, kernel, user;
  DWORD tick;
};

std::uint64_t as_count(const FILETIME& time) {
  return (std::uint64_t{time.dwHighDateTime} << 32) | time.dwLowDateTime;
}

TimesSample take_sample() {
  FILETIME idle{}, kernel{}, user{};
  const bool valid = GetSystemTimes(&idle, &kernel, &user) != FALSE;
  return {valid, as_count(idle), as_count(kernel), as_count(user), GetTickCount()};
}

// Shorter intervals say little: the times grow in steps of the clock tick.
constexpr DWORD kShortestInterval = 250;

// The sample that the next figure is measured from, taken at load and at
// every new figure, and the last figure, once there is one.
struct UsageState {
  TimesSample previous;
  bool has_figure;
  std::uint32_t figure;
};
SpinLock usage_lock;
UsageState usage{take_sample(), false, 0};

// Percent busy, or -1 when Windows cannot say. A call within a quarter
// second of the last sample answers its figure again; only before the first
// figure is there anything to wait for, and a call that may not wait then
// has no figure.
std::int32_t processor_usage(bool may_wait) {
  for (;;) {
    DWORD wait = 0;
    {
      const SpinLock::Guard guard(usage_lock);
      const DWORD elapsed = GetTickCount() - usage.previous.tick;
      if (elapsed < kShortestInterval && usage.has_figure) {
        return static_cast<std::int32_t>(usage.figure);
      }
      if (elapsed >= kShortestInterval) {
        const TimesSample now = take_sample();
        const TimesSample before = usage.previous;
        usage.previous = now;
        if (!now.valid || !before.valid) return -1;
        usage.figure = sysinfo::busy_percent(now.idle - before.idle, now.kernel - before.kernel,
                                             now.user - before.user);
        usage.has_figure = true;
        return static_cast<std::int32_t>(usage.figure);
      }
      if (!may_wait) return -1;
      wait = kShortestInterval - elapsed;
    }
    Sleep(wait);
  }
}

}  // namespace

TOOLCASE_COMMAND(CPU) {
  return run_text_command(data, main_window, [no_pause](const Text& input, TextEncoding encoding) {
    // A figure and its unit; none where Windows does not say.
    std::int32_t figure = -1;
    std::string_view unit;
    Text answer;
    const bool cores = text::keyword_match(input, "cores");
    if (text::keyword_match(input, "usage")) {
      figure = processor_usage(no_pause == FALSE);
      unit = "%";
    } else if (cores || text::keyword_match(input, "threads")) {
      const ProcessorCounts counts = count_processors();
      figure = static_cast<std::int32_t>(cores ? counts.cores : counts.threads);
      if (figure == 0) figure = -1;
    } else {
      const sysinfo::MachineKey key(kProcessorKey);
      // The maker's identifier ("GenuineIntel") as the name is: both as Windows stores them.
      const bool vendor = text::keyword_match(input, "vendor");
      if (vendor || text::keyword_match(input, "name")) {
        sysinfo::RegistryString value;
        const Text stored =
            text_in_encoding(key.string(vendor ? L"VendorIdentifier" : L"ProcessorNameString", value), encoding);
        answer.assign(sysinfo::trim_blanks(stored));
      } else if (text::keyword_match(input, "speed")) {
        figure = static_cast<std::int32_t>(key.number(L"~MHz").value_or(-1));
        unit = "MHz";
      } else {
        return Text(kError);
      }
    }
    if (figure >= 0) {
      answer.assign(text::integer_to_text(figure));
      answer.append(unit);
    }
    if (answer.empty()) answer.assign(kFalse);
    return answer;
  });
}
