#include "host/system_folder.h"

namespace toolcase {

bool path_in_system_folder(std::wstring_view name, std::span<wchar_t> path) noexcept {
  const UINT folder = GetSystemDirectoryW(path.data(), static_cast<UINT>(path.size()));
  if (folder == 0 || folder + 1 + name.size() >= path.size()) return false;
  path[folder] = L'\\';
  name.copy(&path[folder + 1], name.size());
  path[folder + 1 + name.size()] = L'\0';
  return true;
}

}  // namespace toolcase
