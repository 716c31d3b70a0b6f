// Folders and long paths.
#include <cstring>
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
using Folder = BoundedText<utf8_capacity(kFolderBufferSize)>;

// The folder that fill(buffer, size) writes into a cleared buffer of Char,
// or nothing when it reports failure (0) or a folder that does not fit (then
// it reports the size it would need, the size passed or more).
template <typename Char, typename Fill>
std::optional<Folder> filled_folder(DWORD size, Fill fill) {
  Char buffer[kFolderBufferSize] = {};
  const DWORD reported = fill(buffer, size);
  if (reported == 0 || reported >= size) return std::nullopt;
  if constexpr (sizeof(Char) == sizeof(wchar_t)) {
    return utf8_from_wide<Folder::kCapacity>(buffer);
  } else {
    return Folder(std::string_view(buffer, strnlen(buffer, sizeof buffer)));
  }
}

// The folder from the ANSI call, or in a UTF-8 call from the wide one.
template <typename AnsiFill, typename WideFill>
std::optional<Folder> folder_text(TextEncoding encoding, DWORD size, AnsiFill ansi,
                                  WideFill wide) {
  return encoding == TextEncoding::utf8 ? filled_folder<wchar_t>(size, wide)
                                        : filled_folder<char>(size, ansi);
}

std::optional<Folder> temp_folder(TextEncoding encoding) {
  return folder_text(
      encoding, kTempFolderSize, [](char* buffer, DWORD size) { return GetTempPathA(size, buffer); },
      [](wchar_t* buffer, DWORD size) { return GetTempPathW(size, buffer); });
}

// The stored name of the first entry the directory search reports.
sysinfo::StoredName stored_name(const Text& pattern) {
  WIN32_FIND_DATAA record{};
  const unique_find search(FindFirstFileA(pattern.c_str(), &record));
  if (!search) return {};
  return sysinfo::StoredName(
      std::string_view(record.cFileName, strnlen(record.cFileName, sizeof record.cFileName)));
}

// The same for a UTF-8 pattern, through the wide search.
BoundedText<utf8_capacity(MAX_PATH)> stored_name_wide(const Text& pattern) {
  WIN32_FIND_DATAW record{};
  const unique_find search(FindFirstFileW(WideText(pattern).c_str(), &record));
  if (!search) return {};
  return utf8_from_wide<utf8_capacity(MAX_PATH)>(record.cFileName);
}

Text expand_long_path(std::string_view path, TextEncoding encoding) {
  return encoding == TextEncoding::utf8 ? sysinfo::expand_long_path(path, stored_name_wide)
                                        : sysinfo::expand_long_path(path, stored_name);
}

}  // namespace

TOOLCASE_COMMAND(GetDir) {
  return run_text_command(data, main_window, [](const Text& input, TextEncoding encoding) {
    std::optional<Folder> folder;
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
    return expand ? expand_long_path(*folder, encoding) : Text(*folder);
  });
}

TOOLCASE_COMMAND(ExtractFullPath) {
  return run_text_command(data, main_window, [](const Text& input, TextEncoding encoding) {
    if (input.empty()) return Text(kError);
    return expand_long_path(input, encoding);
  });
}
