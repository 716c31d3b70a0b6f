// Machine facts: the computer's and the user's names, the screen's size.
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
    const BOOL set = utf8 ? SetComputerNameW(WideText(new_name).c_str())
                          : SetComputerNameA(Text(new_name).c_str());
    return Text(true_or_false(set == 1));
  });
}
