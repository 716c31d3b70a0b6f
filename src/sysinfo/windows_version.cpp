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

namespace {

RTL_OSVERSIONINFOW reported_version() {
  RTL_OSVERSIONINFOW reported{};
  reported.dwOSVersionInfoSize = sizeof reported;
  RtlGetVersion(&reported);
  return reported;
}

}  // namespace

WindowsVersion windows_version() noexcept {
  return windows_version(MachineKey(kCurrentVersionKey), reported_version());
}

bool is_windows_7() noexcept {
  const MachineKey key(kCurrentVersionKey);
  if (!key.number(L"CurrentMajorVersionNumber")) {
    RegistryString value;
    const std::wstring_view stored = key.string(L"CurrentVersion", value);
    if (!stored.empty()) return stored == L"6.1";
  }
  const WindowsVersion version = windows_version(key, reported_version());
  return version.major == 6 && version.minor == 1;
}

}  // namespace toolcase::sysinfo
