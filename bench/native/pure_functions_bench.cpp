// The pure functions on the commands' paths, timed natively: the real-number
// text of Memory, the process-name match run once per process entry, the
// dialog line of MessageDialog, the long-path rebuilding of ExtractFullPath
// and the shared text rules.
#include <benchmark/benchmark.h>

#include <array>
#include <cstdint>
#include <string>

#include "host/frame.h"
#include "host/text.h"
#include "notify/notify_text.h"
#include "process/process_names.h"
#include "sysinfo/long_path.h"
#include "sysinfo/real_number_text.h"

using namespace toolcase;

namespace {

// Kilobytes with a fraction (the largest figure), a whole number of them,
// and less than one.
void KilobytesText(benchmark::State& state) {
  const auto bytes = static_cast<std::uint32_t>(state.range(0));
  for (auto _ : state) {
    sysinfo::FigureText text = sysinfo::kilobytes_text(bytes, '.');
    text.append("KB");
    benchmark::DoNotOptimize(text);
  }
}
BENCHMARK(KilobytesText)->Arg(4294967295)->Arg(536330240)->Arg(1);

void PercentText(benchmark::State& state) {
  for (auto _ : state) {
    sysinfo::FigureText text = sysinfo::real_number_text(37, 0, '.');
    text.push_back('%');
    benchmark::DoNotOptimize(text);
  }
}
BENCHMARK(PercentText);

// One process entry against the name under test: a folder-qualified name
// that does not match, under single-byte and under double-byte rules.
void ProcessNameMatch(benchmark::State& state) {
  const std::array<unsigned char, 4> shift_jis_lead_bytes = {0x81, 0x9F, 0xE0, 0xFC};
  process::NameEncoding encoding;
  if (state.range(0) != 0) encoding = {process::lead_byte_table(shift_jis_lead_bytes), true};
  std::array<char, 260> field{};
  const std::string exe = "C:\\windows\\system32\\svchost.exe";
  exe.copy(field.data(), field.size());
  const std::string name_under_test = "NOTEPAD.EXE";
  for (auto _ : state) {
    benchmark::DoNotOptimize(process::name_matches(process::executable_name(field),
                                                   name_under_test, encoding));
  }
}
BENCHMARK(ProcessNameMatch)->ArgName("double_byte")->Arg(0)->Arg(1);

void DialogLine(benchmark::State& state) {
  const std::string line = "yesno;question;Confirm;Delete the log of this channel?";
  for (auto _ : state) {
    Text working(line);
    benchmark::DoNotOptimize(notify::read_dialog_line(working));
  }
}
BENCHMARK(DialogLine);

// Five components, each found by a look-up that answers at once: the cost of
// the rebuilding itself.
void LongPathRebuild(benchmark::State& state) {
  const auto stored_name = [](std::string_view pattern) {
    Text name(pattern.substr(pattern.find_last_of('\\') + 1));
    name.append(" long name");
    return name;
  };
  for (auto _ : state) {
    benchmark::DoNotOptimize(
        sysinfo::expand_long_path("C:\\TOOLCA~1\\LONGCO~1\\LONGCO~2\\LONGCO~3", stored_name));
  }
}
BENCHMARK(LongPathRebuild);

void KeywordMatch(benchmark::State& state) {
  const std::string input = "VMemoryAvailable";
  for (auto _ : state) {
    benchmark::DoNotOptimize(text::keyword_match(input, "vmemoryavailable"));
  }
}
BENCHMARK(KeywordMatch);

void LowerCase(benchmark::State& state) {
  const std::string input = "Notepad.EXE";
  for (auto _ : state) benchmark::DoNotOptimize(text::to_lower_ascii(input));
}
BENCHMARK(LowerCase);

// The frame's read of a short input and write of a short answer.
void ReadAndWriteBuffer(benchmark::State& state) {
  std::array<char, kDataBufferSize> buffer{};
  for (auto _ : state) {
    std::string("total").copy(buffer.data(), 5);
    buffer[5] = '\0';
    benchmark::DoNotOptimize(read_input(buffer.data()));
    write_answer(buffer.data(), "2097151.99902344KB");
    benchmark::ClobberMemory();
  }
}
BENCHMARK(ReadAndWriteBuffer);

}  // namespace

BENCHMARK_MAIN();
