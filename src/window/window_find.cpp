// WindowFind: the title of the first top-level window whose whole title
// matches a pattern, for the other window commands to take.
#include <array>
#include <string_view>

#include "host/command.h"
#include "host/wide_text.h"
#include "window/title_pattern.h"

using namespace toolcase;

namespace {

// As WindowText reads a caption: at most 254 characters and a NUL.
constexpr int kTitleArraySize = 256;
constexpr int kTitleMaxCount = kTitleArraySize - 1;
constexpr int kTitleMaxBytes = kTitleMaxCount - 1;

using Title = std::array<wchar_t, kTitleArraySize>;

// A title found is never empty: an empty one matches nothing.
struct TitleSearch {
  std::wstring_view folded_pattern;
  Title visible_title{};
  Title hidden_title{};
};

// Front to back, as Windows keeps the top-level windows; stops at the first
// visible match, and keeps the first hidden one in case no visible one
// follows. The stored title is read: a message could wait on a program that
// is not responding, or on the host's own busy thread.
BOOL CALLBACK examine_window(HWND window, LPARAM search_address) {
  // The platform hands back, as an integer, the address it was given.
  // NOLINTNEXTLINE(performance-no-int-to-ptr)
  auto& search = *reinterpret_cast<TitleSearch*>(search_address);
  const bool visible = IsWindowVisible(window) != FALSE;
  if (!visible && search.hidden_title[0] != L'\0') return TRUE;
  Title title{};
  const int length = InternalGetWindowText(window, title.data(), kTitleMaxCount);
  if (length <= 0) return TRUE;
  Title folded = title;
  CharUpperBuffW(folded.data(), static_cast<DWORD>(length));
  if (!window::title_matches(std::wstring_view(folded.data(), static_cast<std::size_t>(length)),
                             search.folded_pattern)) {
    return TRUE;
  }
  (visible ? search.visible_title : search.hidden_title) = title;
  return visible ? FALSE : TRUE;
}

// The title in the system's code page, cut as GetWindowTextA cuts a caption
// (254 bytes) but never inside a character.
Text ansi_title(const Title& title) {
  std::array<char, kTitleMaxBytes> bytes;
  int units = static_cast<int>(wcsnlen(title.data(), title.size()));
  int written = 0;
  while (units > 0 && (written = WideCharToMultiByte(CP_ACP, 0, title.data(), units, bytes.data(),
                                                     kTitleMaxBytes, nullptr, nullptr)) == 0) {
    --units;
    if (units > 0 && IS_HIGH_SURROGATE(title[static_cast<std::size_t>(units) - 1])) --units;
  }
  return Text(std::string_view(bytes.data(), static_cast<std::size_t>(written)));
}

}  // namespace

TOOLCASE_COMMAND(WindowFind) {
  return run_text_command(data, main_window, [](const Text& input, TextEncoding encoding) {
    if (input.empty()) return Text(kError);
    // The pattern as UTF-16, folded as Windows folds the titles; an ANSI
    // pattern through the system's code page.
    std::array<wchar_t, kDataBufferSize> pattern{};
    int length = 0;
    if (encoding == TextEncoding::utf8) {
      length = static_cast<int>(utf8::to_utf16(input.view(), std::span<wchar_t>(pattern)));
    } else {
      length = MultiByteToWideChar(CP_ACP, 0, input.c_str(), static_cast<int>(input.size()),
                                   pattern.data(), static_cast<int>(pattern.size()) - 1);
    }
    if (length <= 0) return Text(kError);
    CharUpperBuffW(pattern.data(), static_cast<DWORD>(length));
    TitleSearch search;
    search.folded_pattern = std::wstring_view(pattern.data(), static_cast<std::size_t>(length));
    EnumWindows(examine_window, reinterpret_cast<LPARAM>(&search));
    const Title& title =
        search.visible_title[0] != L'\0' ? search.visible_title : search.hidden_title;
    if (title[0] == L'\0') return Text(kError);
    return encoding == TextEncoding::utf8 ? text_from_wide(title) : ansi_title(title);
  });
}
