// WindowFind: the title of the first top-level window whose whole title
// matches a pattern, for the other window commands to take.
#include <algorithm>
#include <array>
#include <string_view>

#include "host/command.h"
#include "host/wide_text.h"
#include "window/dwm.h"
#include "window/title_pattern.h"

using namespace toolcase;

namespace {

// The answer is cut as WindowText cuts a caption: at most 254 characters and
// a NUL.
constexpr std::size_t kTitleArraySize = 256;
constexpr std::size_t kTitleMaxUnits = kTitleArraySize - 2;
// The pattern is matched against the whole stored title: a browser's title
// often runs past 254 characters, and its end names the program.
constexpr int kStoredTitleArraySize = 1024;

using Title = std::array<wchar_t, kTitleArraySize>;
using StoredTitle = std::array<wchar_t, kStoredTitleArraySize>;

// A title found is never empty: an empty one matches nothing.
struct TitleSearch {
  std::wstring_view folded_pattern;
  Title visible_title{};
  Title hidden_title{};
};

// The stand-in that Windows shows for a program that stopped responding,
// titled as the program's window with "(Not Responding)" added; the
// program's own window is hidden meanwhile, and is the one to find.
bool is_ghost(HWND window) {
  constexpr std::wstring_view kGhostClass = L"Ghost";
  std::array<wchar_t, kGhostClass.size() + 2> class_name{};
  const int length = GetClassNameW(window, class_name.data(), static_cast<int>(class_name.size()));
  return length > 0 && std::wstring_view(class_name.data(), static_cast<std::size_t>(length)) ==
                           kGhostClass;
}

// Up to 254 units of the title, never half a surrogate pair, and a NUL.
void keep_title(Title& kept, std::wstring_view title) {
  std::size_t units = std::min(title.size(), kTitleMaxUnits);
  if (units < title.size() && IS_HIGH_SURROGATE(title[units - 1])) --units;
  title.copy(kept.data(), units);
  kept[units] = L'\0';
}

// Front to back, as Windows keeps the top-level windows; stops at the first
// visible match, and keeps the first hidden one in case no visible one
// follows. A window the shell keeps off the screen (cloaked) counts as
// hidden. The stored title is read: a message could wait on a program that
// is not responding, or on the host's own busy thread.
BOOL CALLBACK examine_window(HWND window, LPARAM search_address) {
  // The platform hands back, as an integer, the address it was given.
  // NOLINTNEXTLINE(performance-no-int-to-ptr)
  auto& search = *reinterpret_cast<TitleSearch*>(search_address);
  const bool shown = IsWindowVisible(window) != FALSE;
  if (!shown && search.hidden_title[0] != L'\0') return TRUE;
  StoredTitle title;
  const int length = InternalGetWindowText(window, title.data(), kStoredTitleArraySize);
  if (length <= 0) return TRUE;
  CharUpperBuffW(title.data(), static_cast<DWORD>(length));
  if (!window::title_matches(std::wstring_view(title.data(), static_cast<std::size_t>(length)),
                             search.folded_pattern) ||
      is_ghost(window)) {
    return TRUE;
  }
  // Asked last: only a match needs the answer.
  const bool visible = shown && !window::is_cloaked(window);
  if (!visible && search.hidden_title[0] != L'\0') return TRUE;
  // The answer as stored, read again for the match alone rather than kept
  // for every window.
  const int stored = InternalGetWindowText(window, title.data(), kStoredTitleArraySize);
  keep_title(visible ? search.visible_title : search.hidden_title,
             std::wstring_view(title.data(), static_cast<std::size_t>(std::max(stored, 0))));
  return visible ? FALSE : TRUE;
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
    // In the system's code page cut as GetWindowTextA cuts a caption: 254 bytes.
    return text_in_encoding(title.data(), encoding, kTitleMaxUnits);
  });
}
