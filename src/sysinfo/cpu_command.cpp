// CPU: the processor's name, speed and size as Windows stores them, and how
// busy it is, without ever waiting on the host's thread for a second sample.
#include <cstdint>

#include "host/command.h"
#include "host/late_bound.h"
#include "host/spin_lock.h"
#include "host/text.h"
#include "host/unique_handle.h"
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
// The head that every entry of the extended list starts with; Size is the
// whole entry's.
struct ProcessorRelationHead {
  DWORD relationship;
  DWORD size;
};
using GetActiveProcessorCount = DWORD(WINAPI*)(WORD);
using GetLogicalProcessorInformationEx = BOOL(WINAPI*)(DWORD, void*, PDWORD);
LateBound active_processor_count(SystemModule::kernel32, "GetActiveProcessorCount");
LateBound logical_processor_information_ex(SystemModule::kernel32,
                                           "GetLogicalProcessorInformationEx");

// Windows' list of processors into a heap block: its length depends on the
// machine, up to hundreds of entries. The block is null when Windows cannot say.
template <typename Query>
unique_heap_block processor_list(Query&& query, DWORD& size) {
  size = 0;
  if (query(nullptr, &size) || GetLastError() != ERROR_INSUFFICIENT_BUFFER) return {};
  unique_heap_block block(HeapAlloc(GetProcessHeap(), 0, size));
  if (block && !query(block.get(), &size)) block.reset();
  return block;
}

// Physical cores, 0 when Windows cannot say.
DWORD core_count() {
  DWORD size = 0;
  DWORD cores = 0;
  if (const auto query_ex = logical_processor_information_ex.as<GetLogicalProcessorInformationEx>()) {
    const unique_heap_block list = processor_list(
        [query_ex](void* buffer, PDWORD length) {
          return query_ex(kRelationProcessorCore, buffer, length);
        },
        size);
    const auto* bytes = static_cast<const BYTE*>(list.get());
    for (DWORD at = 0; list && at + sizeof(ProcessorRelationHead) <= size;) {
      const auto* head = reinterpret_cast<const ProcessorRelationHead*>(bytes + at);
      if (head->size == 0) break;
      cores += head->relationship == kRelationProcessorCore;
      at += head->size;
    }
    return cores;
  }
  const unique_heap_block list = processor_list(
      [](void* buffer, PDWORD length) {
        return GetLogicalProcessorInformation(
            static_cast<PSYSTEM_LOGICAL_PROCESSOR_INFORMATION>(buffer), length);
      },
      size);
  const auto* entries = static_cast<const SYSTEM_LOGICAL_PROCESSOR_INFORMATION*>(list.get());
  for (DWORD i = 0; list && i < size / sizeof *entries; ++i) {
    cores += entries[i].Relationship == RelationProcessorCore;
  }
  return cores;
}

DWORD thread_count() {
  if (const auto count = active_processor_count.as<GetActiveProcessorCount>()) {
    if (const DWORD threads = count(kAllProcessorGroups)) return threads;
  }
  SYSTEM_INFO info{};
  GetNativeSystemInfo(&info);
  return info.dwNumberOfProcessors;
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
// figure is there anything to wait for.
std::int32_t processor_usage() {
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
      wait = kShortestInterval - elapsed;
    }
    Sleep(wait);
  }
}

// A count, or "false" for 0.
Text count_text(DWORD count) {
  return count == 0 ? Text(kFalse) : Text(text::integer_to_text(static_cast<std::int32_t>(count)));
}

}  // namespace

TOOLCASE_COMMAND(CPU) {
  return run_text_command(data, main_window, [](const Text& input, TextEncoding encoding) {
    if (text::keyword_match(input, "usage")) {
      const std::int32_t busy = processor_usage();
      if (busy < 0) return Text(kFalse);
      Text answer(text::integer_to_text(busy));
      answer.push_back('%');
      return answer;
    }
    if (text::keyword_match(input, "cores")) return count_text(core_count());
    if (text::keyword_match(input, "threads")) return count_text(thread_count());
    const bool name = text::keyword_match(input, "name");
    if (!name && !text::keyword_match(input, "speed")) return Text(kError);
    const sysinfo::MachineKey key(kProcessorKey);
    if (name) {
      sysinfo::RegistryString value;
      const Text stored = text_in_encoding(key.string(L"ProcessorNameString", value), encoding);
      const std::string_view trimmed = sysinfo::trim_blanks(stored);
      return trimmed.empty() ? Text(kFalse) : Text(trimmed);
    }
    const std::optional<DWORD> megahertz = key.number(L"~MHz");
    if (!megahertz) return Text(kFalse);
    Text answer(text::integer_to_text(static_cast<std::int32_t>(*megahertz)));
    answer.append("MHz");
    return answer;
  });
}
