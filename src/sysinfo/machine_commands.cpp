// Machine facts: computer and user name, memory, screen.
#include <cstdint>
#include <cstring>

#include "host/command.h"
#include "host/module_strings.h"
#include "host/text.h"
#include "host/wide_text.h"
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

constexpr DWORD kComputerNameSize = 256;
constexpr DWORD kUserNameSize = 250;
// "set", one character that is never looked at, then a name of 1 to 15.
constexpr std::size_t kShortestSetText = 5;
constexpr std::size_t kLongestSetText = 19;

}  // namespace

TOOLCASE_COMMAND(Screen) {
  return run_command(data, [](const Text& input) {
    // Two integers and the "x" between them.
    using Answer = BoundedText<2 * text::IntegerText::kCapacity + 1>;
    const auto metric = [](int index) { return text::integer_to_text(GetSystemMetrics(index)); };
    if (text::keyword_match(input, "width")) return Answer(metric(SM_CXSCREEN));
    if (text::keyword_match(input, "height")) return Answer(metric(SM_CYSCREEN));
    if (text::keyword_match(input, "resolution")) {
      Answer resolution(metric(SM_CXSCREEN));
      resolution.push_back('x');
      resolution.append(metric(SM_CYSCREEN));
      return resolution;
    }
    return Answer(kError);
  });
}

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

TOOLCASE_COMMAND(UserName) {
  return run_text_command(data, main_window, [](const Text&, TextEncoding encoding) {
    // Cleared, so that a call that fails without writing leaves an empty name.
    DWORD size = kUserNameSize;
    Text user;
    if (encoding == TextEncoding::utf8) {
      wchar_t name[kUserNameSize] = {};
      GetUserNameW(name, &size);
      user = text_from_wide(name);
    } else {
      char name[kUserNameSize] = {};
      GetUserNameA(name, &size);
      user = text_from_ansi(name);
    }
    return user.empty() ? Text(kFalse) : user;
  });
}

TOOLCASE_COMMAND(ComputerName) {
  return run_text_command(data, main_window, [](const Text& input, TextEncoding encoding) {
    const bool utf8 = encoding == TextEncoding::utf8;
    if (text::keyword_match(input, "get")) {
      // Cleared, so that a call that fails without writing leaves an empty name.
      DWORD size = kComputerNameSize;
      Text computer;
      if (utf8) {
        wchar_t name[kComputerNameSize] = {};
        GetComputerNameW(name, &size);
        computer = text_from_wide(name);
      } else {
        char name[kComputerNameSize] = {};
        GetComputerNameA(name, &size);
        computer = text_from_ansi(name);
      }
      return computer.empty() ? Text(kError) : computer;
    }
    if (!text::keyword_match(text::copy_range(input, 1, 3), "set")) return Text(kError);
    // Characters, not bytes, in a UTF-8 call.
    const std::size_t length = utf8 ? utf8::character_count(input) : input.size();
    if (length < kShortestSetText || length > kLongestSetText) return Text(kError);
    // The fourth character is skipped unread.
    const std::string_view new_name =
        utf8 ? utf8::after_characters(input, 4) : text::copy_range(input, 5, static_cast<int>(length));
    ScratchText.assign(new_name);
    const BOOL set = utf8 ? SetComputerNameW(WideText(new_name).c_str())
                          : SetComputerNameA(Text(new_name).c_str());
    return Text(true_or_false(set == 1));
  });
}
