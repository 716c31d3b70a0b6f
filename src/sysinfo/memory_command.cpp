// The memory figures. Built for speed rather than size: against the
// platform's answer, which Wine caches, the command's own work shows.
#include "host/command.h"
#include "host/text.h"
#include "sysinfo/real_number_text.h"

using namespace toolcase;

namespace {

// Read once, when the library is loaded: a later change of the regional
// settings applies from the next load. A separator longer than one character
// does not fit the room given, and the call's failure means ".".
const char decimal_separator = [] {
  char setting[2] = {};
  return GetLocaleInfoA(GetThreadLocale(), LOCALE_SDECIMAL, setting, sizeof setting) > 0
             ? setting[0]
             : '.';
}();

// Seven 64-bit counts behind two DWORDs, in either process: GlobalMemoryStatus
// caps its counts for a 32-bit process (at 2 GB, or 4 GB less one), the
// extended record tells a 32-bit process the machine's real memory too.
static_assert(sizeof(MEMORYSTATUSEX) == 64);

struct ByteCountKeyword {
  std::string_view keyword;
  DWORDLONG MEMORYSTATUSEX::*field;
};

// The virtual figures are those of this process's own address space.
constexpr ByteCountKeyword kByteCounts[] = {
    {"total", &MEMORYSTATUSEX::ullTotalPhys},
    {"available", &MEMORYSTATUSEX::ullAvailPhys},
    {"pfilesize", &MEMORYSTATUSEX::ullTotalPageFile},
    {"pfileavailable", &MEMORYSTATUSEX::ullAvailPageFile},
    {"vmemorytotal", &MEMORYSTATUSEX::ullTotalVirtual},
    {"vmemoryavailable", &MEMORYSTATUSEX::ullAvailVirtual},
};

}  // namespace

TOOLCASE_COMMAND(Memory) {
  return run_command(data, [](const Text& input) {
    // Left at zero should the call fail, which it does only for a wrong length.
    MEMORYSTATUSEX status{};
    status.dwLength = sizeof status;
    GlobalMemoryStatusEx(&status);
    if (text::keyword_match(input, "used")) {
      sysinfo::FigureText answer =
          sysinfo::real_number_text(status.dwMemoryLoad, 0, decimal_separator);
      answer.push_back('%');
      return answer;
    }
    for (const ByteCountKeyword& count : kByteCounts) {
      if (text::keyword_match(input, count.keyword)) {
        sysinfo::FigureText answer =
            sysinfo::kilobytes_text(status.*count.field, decimal_separator);
        answer.append("KB");
        return answer;
      }
    }
    return sysinfo::FigureText(kError);
  });
}
