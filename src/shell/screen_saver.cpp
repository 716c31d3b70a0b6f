#include "shell/screen_saver.h"

#include <windows.h>

#include <array>
#include <string_view>

#include "host/system_folder.h"
#include "host/unique_handle.h"

namespace toolcase::shell {

namespace {

constexpr wchar_t kSaverValue[] = L"SCRNSAVE.EXE";
// A policy's value takes precedence over the user's own.
constexpr wchar_t kPolicyKey[] = L"Software\\Policies\\Microsoft\\Windows\\Control Panel\\Desktop";
constexpr wchar_t kUserKey[] = L"Control Panel\\Desktop";

// Twice what the file calls below can open, so that a value that only grows
// past MAX_PATH when its variables are expanded is still read whole.
using PathBuffer = std::array<wchar_t, 2 * MAX_PATH>;

enum class Setting { none, unusable, path };

// The value under HKCU\key_name, NUL-terminated in path. An empty value counts
// as none; one that is not a string, or too long to name a file, as unusable.
Setting read_setting(const wchar_t* key_name, PathBuffer& path) {
  HKEY opened = nullptr;
  if (RegOpenKeyExW(HKEY_CURRENT_USER, key_name, 0, KEY_QUERY_VALUE, &opened) != ERROR_SUCCESS) {
    return Setting::none;
  }
  const unique_registry_key key(opened);
  DWORD type = REG_NONE;
  DWORD size = (path.size() - 1) * sizeof(wchar_t);
  const LONG status = RegQueryValueExW(key.get(), kSaverValue, nullptr, &type,
                                       reinterpret_cast<BYTE*>(path.data()), &size);
  if (status == ERROR_FILE_NOT_FOUND) return Setting::none;
  if (status != ERROR_SUCCESS) return Setting::unusable;
  if (size < sizeof(wchar_t)) return Setting::none;
  if (type != REG_SZ && type != REG_EXPAND_SZ) return Setting::unusable;
  // A value may be stored without its NUL.
  path[size / sizeof(wchar_t)] = L'\0';
  return path[0] == L'\0' ? Setting::none : Setting::path;
}

bool has_folder(std::wstring_view path) { return path.find_first_of(L"\\/:") != path.npos; }

// A 32-bit process on 64-bit Windows is shown SysWOW64 where it names
// System32, while the shell, a 64-bit program, starts a saver from System32
// itself: the file is looked for where the shell looks. The switch that
// turns the redirection off is looked up, since Windows XP's 32-bit kernel32
// has none.
DWORD file_attributes_as_the_shell_sees(const wchar_t* path) {
#ifdef _WIN64
  return GetFileAttributesW(path);
#else
  using Disable = BOOL(WINAPI*)(PVOID*);
  using Revert = BOOL(WINAPI*)(PVOID);
  const HMODULE kernel = GetModuleHandleA("kernel32.dll");
  // Through void(*)(), the generic function pointer type.
  const auto disable = reinterpret_cast<Disable>(
      reinterpret_cast<void (*)()>(GetProcAddress(kernel, "Wow64DisableWow64FsRedirection")));
  const auto revert = reinterpret_cast<Revert>(
      reinterpret_cast<void (*)()>(GetProcAddress(kernel, "Wow64RevertWow64FsRedirection")));
  PVOID redirection = nullptr;
  const bool redirection_off = disable && revert && disable(&redirection);
  const DWORD attributes = GetFileAttributesW(path);
  if (redirection_off) revert(redirection);
  return attributes;
#endif
}

// Variables expanded, and a bare name (which a policy may give for a saver in
// the system folder) looked for in the system folder, as Windows does.
bool names_existing_file(const wchar_t* setting) {
  PathBuffer expanded;
  const DWORD expanded_size = ExpandEnvironmentStringsW(setting, expanded.data(), expanded.size());
  if (expanded_size == 0 || expanded_size > expanded.size()) return false;
  PathBuffer in_system_folder;
  const wchar_t* path = expanded.data();
  if (const std::wstring_view name(expanded.data()); !has_folder(name)) {
    if (!path_in_system_folder(name, in_system_folder)) return false;
    path = in_system_folder.data();
  }
  const DWORD attributes = file_attributes_as_the_shell_sees(path);
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

}  // namespace

bool screen_saver_is_chosen() noexcept {
  PathBuffer setting;
  Setting chosen = read_setting(kPolicyKey, setting);
  if (chosen == Setting::none) chosen = read_setting(kUserKey, setting);
  return chosen == Setting::path && names_existing_file(setting.data());
}

}  // namespace toolcase::shell
