// Machine facts: the computer's and the user's names, the screen's size, how
// long the user has been idle.
#include <algorithm>
#include <cstdint>

#include "host/command.h"
#include "host/module_strings.h"
#include "host/text.h"
#include "host/wide_text.h"

using namespace toolcase;

namespace {

constexpr DWORD kComputerNameSize = 256;
constexpr DWORD kUserNameSize = 250;
// "set", one character that is never looked at, then a name of 1 to 15.
constexpr std::size_t kShortestSetText = 5;
constexpr std::size_t kLongestSetText = 19;

// The name that read(buffer, &size) writes into a cleared buffer of Size
// characters, through the ANSI call or, in a UTF-8 call, the wide one. The
// call's own report is not looked at: a call that fails without writing
// leaves the name empty.
template <DWORD Size, typename AnsiRead, typename WideRead>
Text name_text(TextEncoding encoding, AnsiRead ansi_read, WideRead wide_read) {
  DWORD size = Size;
  if (encoding == TextEncoding::utf8) {
    wchar_t name[Size] = {};
    wide_read(name, &size);
    return text_from_wide(name);
  }
  char name[Size] = {};
  ansi_read(name, &size);
  return text_from_ansi(name);
}

}  // namespace

TOOLCASE_COMMAND(Screen) {
  return run_command(data, [](const Text& input) {
    // Two integers and the "x" between them.
    using Answer = BoundedText<2 * text::IntegerText::kCapacity + 1>;
    const bool width = text::keyword_match(input, "width");
    const bool height = !width && text::keyword_match(input, "height");
    const bool hertz = text::keyword_match(input, "hz");
    const bool bits = text::keyword_match(input, "bits");
    if (!width && !height && !hertz && !bits && !text::keyword_match(input, "resolution")) return Answer(kError);
    // The display's mode is in real pixels. A scaled screen shows a host that
    // is not DPI-aware smaller figures through the metrics (1280 for 1920 at
    // 150%), which stay the fallback.
    DEVMODEA mode{};
    mode.dmSize = sizeof mode;
    const bool have_mode = EnumDisplaySettingsA(nullptr, ENUM_CURRENT_SETTINGS, &mode) != FALSE;
    if (hertz || bits) {
      // A rate of 0 or 1 is the hardware's default: Windows does not know it.
      const DWORD figure = hertz ? mode.dmDisplayFrequency : mode.dmBitsPerPel;
      if (!have_mode || figure <= (hertz ? 1U : 0U)) return Answer(kFalse);
      return Answer(text::id_to_text(figure));
    }
    const auto size_text = [&](int metric, DWORD pixels) {
      return text::integer_to_text(have_mode ? static_cast<int>(pixels) : GetSystemMetrics(metric));
    };
    if (width) return Answer(size_text(SM_CXSCREEN, mode.dmPelsWidth));
    if (height) return Answer(size_text(SM_CYSCREEN, mode.dmPelsHeight));
    Answer resolution(size_text(SM_CXSCREEN, mode.dmPelsWidth));
    resolution.push_back('x');
    resolution.append(size_text(SM_CYSCREEN, mode.dmPelsHeight));
    return resolution;
  });
}

TOOLCASE_COMMAND(UserName) {
  return run_text_command(data, main_window, [](const Text&, TextEncoding encoding) {
    const Text user = name_text<kUserNameSize>(encoding, GetUserNameA, GetUserNameW);
    return user.empty() ? Text(kFalse) : user;
  });
}

TOOLCASE_COMMAND(ComputerName) {
  return run_text_command(data, main_window, [](const Text& input, TextEncoding encoding) {
    const bool utf8 = encoding == TextEncoding::utf8;
    if (text::keyword_match(input, "get")) {
      const Text computer =
          name_text<kComputerNameSize>(encoding, GetComputerNameA, GetComputerNameW);
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
    // As the platform's own renaming does: the DNS host name, and with it the
    // NetBIOS name, which alone would leave the two apart.
    const BOOL set =
        utf8 ? SetComputerNameExW(ComputerNamePhysicalDnsHostname, WideText(new_name).c_str())
             : SetComputerNameExA(ComputerNamePhysicalDnsHostname, Text(new_name).c_str());
    return Text(true_or_false(set == 1));
  });
}

// Whole seconds since the last keyboard or mouse input in this session. The
// tick count wraps after 49.7 days; a 32-bit difference stays right across
// the wrap. Input that a program injects carries that program's time stamp,
// which may be ahead of the tick count: the difference is then negative, and
// the input is as recent as can be.
TOOLCASE_COMMAND(IdleTime) {
  return run_command(data, [](const Text&) {
    LASTINPUTINFO last_input{};
    last_input.cbSize = sizeof last_input;
    if (!GetLastInputInfo(&last_input)) return text::IntegerText(kError);
    const auto idle_milliseconds = static_cast<std::int32_t>(GetTickCount() - last_input.dwTime);
    return text::integer_to_text(std::max(idle_milliseconds, std::int32_t{0}) / 1000);
  });
}
