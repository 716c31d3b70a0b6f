// Folders and long paths.
#include <cstring>
#include <optional>

#include "host/command.h"
#include "host/text.h"
#include "host/unique_handle.h"
#include "sysinfo/long_path.h"

using namespace toolcase;

namespace {

// The temporary folder's call is told one more than MAX_PATH; the buffer has
// room for that and one more.
constexpr DWORD kFolderBufferSize = MAX_PATH + 2;
constexpr DWORD kTempFolderSize = MAX_PATH + 1;
using Folder = BoundedText<kFolderBufferSize>;

// The folder that fill(buffer, size) writes into a cleared buffer, or nothing
// when it reports failure (0) or a folder that does not fit (then it reports
// the size it would need, the size passed or more).
template <typename Fill>
std::optional<Folder> folder_text(DWORD size, Fill fill) {
  char buffer[kFolderBufferSize] = {};
  const DWORD reported = fill(buffer, size);
  if (reported == 0 || reported >= size) return std::nullopt;
  return Folder(std::string_view(buffer, strnlen(buffer, sizeof buffer)));
}

std::optional<Folder> temp_folder() {
  return folder_text(kTempFolderSize,
                     [](char* buffer, DWORD size) { return GetTempPathA(size, buffer); });
}

// The stored name of the first entry the directory search reports.
sysinfo::StoredName stored_name(const Text& pattern) {
  WIN32_FIND_DATAA record{};
  const unique_find search(FindFirstFileA(pattern.c_str(), &record));
  if (!search) return {};
  return sysinfo::StoredName(
      std::string_view(record.cFileName, strnlen(record.cFileName, sizeof record.cFileName)));
}

}  // namespace

TOOLCASE_COMMAND(GetDir) {
  return run_command(data, [](const Text& input) {
    std::optional<Folder> folder;
    bool expand = false;
    if (text::keyword_match(input, "system")) {
      folder = folder_text(MAX_PATH, [](char* buffer, DWORD size) {
        return GetSystemDirectoryA(buffer, size);
      });
    } else if (text::keyword_match(input, "windows")) {
      folder = folder_text(MAX_PATH, [](char* buffer, DWORD size) {
        return GetWindowsDirectoryA(buffer, size);
      });
    } else if (text::keyword_match(input, "temp")) {
      folder = temp_folder();
    } else if (text::keyword_match(input, "fulltemp")) {
      folder = temp_folder();
      expand = true;
    }
    if (!folder) return Text(kError);
    return expand ? sysinfo::expand_long_path(*folder, stored_name) : Text(*folder);
  });
}

TOOLCASE_COMMAND(ExtractFullPath) {
  return run_command(data, [](const Text& input) {
    if (input.empty()) return Text(kError);
    return sysinfo::expand_long_path(input, stored_name);
  });
}
