// Titles of top-level windows as WindowFind and the window watches read them:
// the stored title, never through a message, which could wait on a program
// that is not responding or on the host's own busy thread.
#pragma once

#include <windows.h>

#include <algorithm>
#include <array>
#include <span>
#include <string_view>

#include "host/frame.h"
#include "host/utf8.h"

namespace toolcase::window {

// An answer is cut as WindowText cuts a caption: at most 254 characters and a NUL.
inline constexpr std::size_t kTitleArraySize = 256;
inline constexpr std::size_t kTitleMaxUnits = kTitleArraySize - 2;
using Title = std::array<wchar_t, kTitleArraySize>;

// A pattern is matched against the whole stored title: a browser's title
// often runs past 254 characters, and its end names the program.
inline constexpr int kStoredTitleArraySize = 1024;
using StoredTitle = std::array<wchar_t, kStoredTitleArraySize>;

// The window's stored title; empty when it has none.
inline std::wstring_view stored_title(HWND window, StoredTitle& title) {
  const int length = InternalGetWindowText(window, title.data(), kStoredTitleArraySize);
  return std::wstring_view(title.data(), static_cast<std::size_t>(std::max(length, 0)));
}

// Up to 254 units of the title, never half a surrogate pair, and a NUL.
inline void keep_title(Title& kept, std::wstring_view title) {
  std::size_t units = std::min(title.size(), kTitleMaxUnits);
  if (units < title.size() && IS_HIGH_SURROGATE(title[units - 1])) --units;
  title.copy(kept.data(), units);
  kept[units] = L'\0';
}

// The stand-in that Windows shows for a program that stopped responding,
// titled as the program's window with "(Not Responding)" added; the
// program's own window is hidden meanwhile.
inline bool is_ghost(HWND window) {
  constexpr std::wstring_view kGhostClass = L"Ghost";
  std::array<wchar_t, kGhostClass.size() + 2> class_name{};
  const int length = GetClassNameW(window, class_name.data(), static_cast<int>(class_name.size()));
  return length > 0 && std::wstring_view(class_name.data(), static_cast<std::size_t>(length)) ==
                           kGhostClass;
}

// A pattern as UTF-16, folded as the titles are folded before they are
// matched (CharUpperBuffW); an ANSI pattern through the system's code page.
// Empty when the text is.
using FoldedPattern = std::array<wchar_t, kDataBufferSize>;
inline std::wstring_view fold_pattern(std::string_view text, TextEncoding encoding,
                                      FoldedPattern& pattern) {
  int length = 0;
  if (encoding == TextEncoding::utf8) {
    length = static_cast<int>(utf8::to_utf16(text, std::span<wchar_t>(pattern)));
  } else if (!text.empty()) {
    length = MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()),
                                 pattern.data(), static_cast<int>(pattern.size()) - 1);
  }
  if (length <= 0) return {};
  CharUpperBuffW(pattern.data(), static_cast<DWORD>(length));
  return std::wstring_view(pattern.data(), static_cast<std::size_t>(length));
}

}  // namespace toolcase::window
