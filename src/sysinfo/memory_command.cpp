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

// Six SIZE_T counts behind two DWORDs: 32 bytes, 56 on x64.
static_assert(sizeof(MEMORYSTATUS) == (sizeof(SIZE_T) == 8 ? 56 : 32));

struct ByteCountKeyword {
  std::string_view keyword;
  SIZE_T MEMORYSTATUS::*field;
};

constexpr ByteCountKeyword kByteCounts[] = {
    {"total", &MEMORYSTATUS::dwTotalPhys},
    {"available", &MEMORYSTATUS::dwAvailPhys},
    {"pfilesize", &MEMORYSTATUS::dwTotalPageFile},
    {"pfileavailable", &MEMORYSTATUS::dwAvailPageFile},
    {"vmemorytotal", &MEMORYSTATUS::dwTotalVirtual},
    {"vmemoryavailable", &MEMORYSTATUS::dwAvailVirtual},
};

}  // namespace

TOOLCASE_COMMAND(Memory) {
  return run_command(data, [](const Text& input) {
    MEMORYSTATUS status{};
    status.dwLength = sizeof status;
    GlobalMemoryStatus(&status);
    if (text::keyword_match(input, "used")) {
      sysinfo::FigureText answer =
          sysinfo::real_number_text(status.dwMemoryLoad, 0, decimal_separator);
      answer.push_back('%');
      return answer;
    }
    for (const ByteCountKeyword& count : kByteCounts) {
      if (text::keyword_match(input, count.keyword)) {
        // A 32-bit count here, a 64-bit one in a 64-bit process: both exact.
        sysinfo::FigureText answer =
            sysinfo::kilobytes_text(status.*count.field, decimal_separator);
        answer.append("KB");
        return answer;
      }
    }
    return sysinfo::FigureText(kError);
  });
}

