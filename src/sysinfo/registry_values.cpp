#include "sysinfo/registry_values.h"

#include <cwchar>

namespace toolcase::sysinfo {

namespace {

// Windows XP's declarations lack it; XP's 32-bit registry ignores it.
constexpr REGSAM kWow64Key64 = 0x0100;  // KEY_WOW64_64KEY

}  // namespace

MachineKey::MachineKey(const wchar_t* path) noexcept {
  HKEY opened = nullptr;
  if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, path, 0, KEY_QUERY_VALUE | kWow64Key64, &opened) ==
      ERROR_SUCCESS) {
    key_.reset(opened);
  }
}

std::wstring_view MachineKey::string(const wchar_t* name, RegistryString& value) const noexcept {
  DWORD type = REG_NONE;
  DWORD size = (value.size() - 1) * sizeof(wchar_t);
  if (!key_ || RegQueryValueExW(key_.get(), name, nullptr, &type, reinterpret_cast<BYTE*>(value.data()),
                                &size) != ERROR_SUCCESS ||
      type != REG_SZ) {
    return {};
  }
  // A value may be stored without its NUL.
  value[size / sizeof(wchar_t)] = L'\0';
  return std::wstring_view(value.data(), wcsnlen(value.data(), value.size()));
}

std::optional<DWORD> MachineKey::number(const wchar_t* name) const noexcept {
  DWORD type = REG_NONE;
  DWORD value = 0;
  DWORD size = sizeof value;
  if (!key_ || RegQueryValueExW(key_.get(), name, nullptr, &type, reinterpret_cast<BYTE*>(&value),
                                &size) != ERROR_SUCCESS ||
      type != REG_DWORD) {
    return std::nullopt;
  }
  return value;
}

std::optional<std::uint64_t> MachineKey::quad_number(const wchar_t* name) const noexcept {
  DWORD type = REG_NONE;
  std::uint64_t value = 0;
  DWORD size = sizeof value;
  if (!key_ || RegQueryValueExW(key_.get(), name, nullptr, &type, reinterpret_cast<BYTE*>(&value), &size) !=
                   ERROR_SUCCESS ||
      (type != REG_QWORD && type != REG_BINARY) || size != sizeof value) {
    return std::nullopt;
  }
  return value;
}

}  // namespace toolcase::sysinfo
