// Values of a key under HKEY_LOCAL_MACHINE, as Windows itself stores them:
// the 32-bit DLL reads the 64-bit view too, where Windows keeps its own
// values (32-bit Windows has only the one view).
#pragma once

#include <windows.h>

#include <array>
#include <cstdint>
#include <optional>
#include <string_view>

#include "host/unique_handle.h"

namespace toolcase::sysinfo {

// Long enough for any name or version Windows stores there.
using RegistryString = std::array<wchar_t, 128>;

class MachineKey {
 public:
  explicit MachineKey(const wchar_t* path) noexcept;

  // A string value; empty when it is absent, no string or longer than the array.
  std::wstring_view string(const wchar_t* name, RegistryString& value) const noexcept;
  std::optional<DWORD> number(const wchar_t* name) const noexcept;
  // A 64-bit number, stored as a quad word or as its 8 bytes.
  std::optional<std::uint64_t> quad_number(const wchar_t* name) const noexcept;

 private:
  unique_registry_key key_;
};

}  // namespace toolcase::sysinfo
