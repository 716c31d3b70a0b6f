// WindowFind: the title of the first top-level window whose whole title
// matches a pattern, for the other window commands to take.
#include <algorithm>
#include <array>
#include <string_view>

#include "host/command.h"
#include "host/wide_text.h"
#include "window/dwm.h"
#include "window/title_pattern.h"
#include "window/window_titles.h"

using namespace toolcase;

namespace {

using window::kTitleMaxUnits;
using window::Title;

// A title found is never empty: an empty one matches nothing.
struct TitleSearch {
  std::wstring_view folded_pattern;
  Title visible_title{};
  Title hidden_title{};
};

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
  window::StoredTitle title;
  const std::wstring_view read = window::stored_title(window, title);
  if (read.empty()) return TRUE;
  CharUpperBuffW(title.data(), static_cast<DWORD>(read.size()));
  if (!window::title_matches(read, search.folded_pattern) || window::is_ghost(window)) return TRUE;
  // Asked last: only a match needs the answer.
  const bool visible = shown && !window::is_cloaked(window);
  if (!visible && search.hidden_title[0] != L'\0') return TRUE;
  // The answer as stored, read again for the match alone rather than kept
  // for every window.
  window::keep_title(visible ? search.visible_title : search.hidden_title,
                     window::stored_title(window, title));
  return visible ? FALSE : TRUE;
}

}  // namespace

TOOLCASE_COMMAND(WindowFind) {
  return run_text_command(data, main_window, [](const Text& input, TextEncoding encoding) {
    if (input.empty()) return Text(kError);
    window::FoldedPattern pattern{};
    TitleSearch search;
    search.folded_pattern = window::fold_pattern(input, encoding, pattern);
    if (search.folded_pattern.empty()) return Text(kError);
    EnumWindows(examine_window, reinterpret_cast<LPARAM>(&search));
    const Title& title =
        search.visible_title[0] != L'\0' ? search.visible_title : search.hidden_title;
    if (title[0] == L'\0') return Text(kError);
    // In the system's code page cut as GetWindowTextA cuts a caption: 254 bytes.
    return text_in_encoding(title.data(), encoding, kTitleMaxUnits);
  });
}
