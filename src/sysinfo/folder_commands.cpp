// Folders and long paths.
#include <optional>

#include "host/command.h"
#include "host/text.h"
#include "host/unique_handle.h"
#include "host/wide_text.h"
#include "sysinfo/long_path.h"

using namespace toolcase;

namespace {

// The temporary folder's call is told one more than MAX_PATH; the buffer has
// room for that and one more.
constexpr DWORD kFolderBufferSize = MAX_PATH + 2;
constexpr DWORD kTempFolderSize = MAX_PATH + 1;

// The folder that fill(buffer, size) writes into a cleared buffer of Char,
// or nothing when it reports failure (0) or a folder that does not fit (then
// it reports the size it would need, the size passed or more).
template <typename Char, typename Fill>
std::optional<Text> filled_folder(DWORD size, Fill fill) {
  Char buffer[kFolderBufferSize] = {};
  const DWORD reported = fill(buffer, size);
  if (reported == 0 || reported >= size) return std::nullopt;
  if constexpr (sizeof(Char) == sizeof(wchar_t)) {
    return text_from_wide(buffer);
  } else {
    return text_from_ansi(buffer);
  }
}

// The folder from the ANSI call, or in a UTF-8 call from the wide one.
template <typename AnsiFill, typename WideFill>
std::optional<Text> folder_text(TextEncoding encoding, DWORD size, AnsiFill ansi,
                                  WideFill wide) {
  return encoding == TextEncoding::utf8 ? filled_folder<wchar_t>(size, wide)
                                        : filled_folder<char>(size, ansi);
}

std::optional<Text> temp_folder(TextEncoding encoding) {
  return folder_text(
      encoding, kTempFolderSize, [](char* buffer, DWORD size) { return GetTempPathA(size, buffer); },
      [](wchar_t* buffer, DWORD size) { return GetTempPathW(size, buffer); });
}

// The name for a component that the search could not report: empty for one
// that does not exist. Since Vista, "Documents and Settings", "Application
// Data", "My Documents" and their kind are junctions that deny listing to
// everyone; a name under them exists, and is kept as the caller wrote it.
Text unreported_name(std::string_view pattern) {
  if (GetLastError() != ERROR_ACCESS_DENIED) return Text();
  // After the last "\", or all of it when there is none (npos + 1 is 0).
  pattern.remove_prefix(pattern.rfind('\\') + 1);
  return Text(pattern);
}

// The stored name of the first entry the directory search reports.
Text stored_name(const Text& pattern, TextEncoding encoding) {
  if (encoding == TextEncoding::utf8) {
    WIN32_FIND_DATAW record{};
    const unique_find search(FindFirstFileW(WideText(pattern).c_str(), &record));
    return search ? text_from_wide(record.cFileName) : unreported_name(pattern);
  }
  WIN32_FIND_DATAA record{};
  const unique_find search(FindFirstFileA(pattern.c_str(), &record));
  return search ? text_from_ansi(record.cFileName) : unreported_name(pattern);
}

Text expand_long_path(std::string_view path, TextEncoding encoding) {
  return sysinfo::expand_long_path(
      path, [encoding](const Text& pattern) { return stored_name(pattern, encoding); });
}

}  // namespace

TOOLCASE_COMMAND(GetDir) {
  return run_text_command(data, main_window, [](const Text& input, TextEncoding encoding) {
    std::optional<Text> folder;
    bool expand = false;
    if (text::keyword_match(input, "system")) {
      folder = folder_text(encoding, MAX_PATH, GetSystemDirectoryA, GetSystemDirectoryW);
    } else if (text::keyword_match(input, "windows")) {
      folder = folder_text(encoding, MAX_PATH, GetWindowsDirectoryA, GetWindowsDirectoryW);
    } else if (text::keyword_match(input, "temp")) {
      folder = temp_folder(encoding);
    } else if (text::keyword_match(input, "fulltemp")) {
      folder = temp_folder(encoding);
      expand = true;
    }
    if (!folder) return Text(kError);
    return expand ? expand_long_path(*folder, encoding) : *folder;
  });
}

TOOLCASE_COMMAND(ExtractFullPath) {
  return run_text_command(data, main_window, [](const Text& input, TextEncoding encoding) {
    if (input.empty()) return Text(kError);
    return expand_long_path(input, encoding);
  });
}
