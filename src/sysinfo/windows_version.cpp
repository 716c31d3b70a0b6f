#include "sysinfo/windows_version.h"

#include <cstdint>
#include <optional>

#include "sysinfo/machine_facts.h"

namespace toolcase::sysinfo {

WindowsVersion windows_version(const MachineKey& key, const RTL_OSVERSIONINFOW& reported) noexcept {
  RegistryString value;
  const std::optional<DWORD> major = key.number(L"CurrentMajorVersionNumber");
  const std::optional<DWORD> minor = key.number(L"CurrentMinorVersionNumber");
  const std::optional<std::uint32_t> build = decimal_number(key.string(L"CurrentBuildNumber", value));
  if (major && minor && build) return {*major, *minor, *build};
  return {reported.dwMajorVersion, reported.dwMinorVersion, reported.dwBuildNumber};
}

WindowsVersion windows_version() noexcept {
  RTL_OSVERSIONINFOW reported{};
  reported.dwOSVersionInfoSize = sizeof reported;
  RtlGetVersion(&reported);
  return windows_version(MachineKey(kCurrentVersionKey), reported);
}

}  // namespace toolcase::sysinfo
