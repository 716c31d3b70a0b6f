// Which Windows this is, as Windows itself has it: a compatibility mode set on
// the host changes what RtlGetVersion answers, not the registry's numbers.
#pragma once

#include <windows.h>

#include "sysinfo/registry_values.h"

// ntdll's own, which tells the version a compatibility mode fakes, never the
// 6.2 that GetVersionEx tells a program without a manifest.
extern "C" NTSYSAPI LONG NTAPI RtlGetVersion(PRTL_OSVERSIONINFOW version);

namespace toolcase::sysinfo {

inline constexpr wchar_t kCurrentVersionKey[] = L"SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion";

struct WindowsVersion {
  DWORD major, minor, build;
};

// Windows 10 and later keep their version under CurrentVersion (key); earlier
// ones have no such numbers, and reported (RtlGetVersion's) is theirs.
WindowsVersion windows_version(const MachineKey& key, const RTL_OSVERSIONINFOW& reported) noexcept;
// The same, read afresh.
WindowsVersion windows_version() noexcept;

// Windows 7 or Server 2008 R2 (6.1), read afresh. Before Windows 10 the
// registry's CurrentVersion string ("6.1", "6.3") decides, as a compatibility
// mode fakes RtlGetVersion's numbers but leaves it alone; Windows 10 and later
// keep "6.3" there, and their own numbers beside it.
bool is_windows_7() noexcept;

}  // namespace toolcase::sysinfo
