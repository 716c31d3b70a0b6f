// OS: which Windows this is, as Windows itself says, not as it tells an old
// program: GetVersionEx answers 6.2 to a program without a manifest on
// Windows 8.1, 10 and 11, and the registry's product name still says
// Windows 10 on Windows 11.
#include "host/command.h"
#include "host/late_bound.h"
#include "host/text.h"
#include "host/wide_text.h"
#include "sysinfo/machine_facts.h"
#include "sysinfo/registry_values.h"
#include "sysinfo/windows_version.h"

using namespace toolcase;

namespace {

#ifndef _WIN64
using IsWow64Process2 = BOOL(WINAPI*)(HANDLE, USHORT*, USHORT*);
LateBound is_wow64_process2(SystemModule::kernel32, "IsWow64Process2");
#endif

// The DLL's own bitness, or that of the Windows it runs on. Windows 10 on
// ARM emulates a 32-bit host without WOW64 as IsWow64Process knows it (it
// answers FALSE there); IsWow64Process2 (Windows 10 1511) names the machine.
bool windows_is_64_bit() {
#ifdef _WIN64
  return true;
#else
  USHORT emulated = 0, native = 0;
  if (const auto query = is_wow64_process2.as<IsWow64Process2>();
      query != nullptr && query(GetCurrentProcess(), &emulated, &native)) {
    constexpr USHORT kAmd64 = 0x8664, kArm64 = 0xAA64, kIa64 = 0x0200;
    return native == kAmd64 || native == kArm64 || native == kIa64;
  }
  BOOL wow64 = FALSE;
  return IsWow64Process(GetCurrentProcess(), &wow64) && wow64;
#endif
}

// Appends a number, after a '.' when there is text already.
void append_number(Text& text, DWORD number) {
  if (!text.empty()) text.push_back('.');
  text.append(text::integer_to_text(static_cast<std::int32_t>(number)));
}

}  // namespace

TOOLCASE_COMMAND(OS) {
  return run_text_command(data, main_window, [](const Text& input, TextEncoding encoding) {
    RTL_OSVERSIONINFOW reported{};
    reported.dwOSVersionInfoSize = sizeof reported;
    RtlGetVersion(&reported);
    Text answer;
    if (text::keyword_match(input, "bits")) {
      answer.assign(windows_is_64_bit() ? "64" : "32");
    } else {
      const sysinfo::MachineKey key(sysinfo::kCurrentVersionKey);
      sysinfo::RegistryString value;
      const bool asks_version = text::keyword_match(input, "version");
      const bool asks_name = text::keyword_match(input, "name");
      const bool asks_build = text::keyword_match(input, "build");
      // Only these read the version's numbers.
      const sysinfo::WindowsVersion version = asks_version || asks_name || asks_build
                                                  ? sysinfo::windows_version(key, reported)
                                                  : sysinfo::WindowsVersion{};
      if (asks_version) {
        for (const DWORD number : {version.major, version.minor, version.build}) {
          append_number(answer, number);
        }
      } else if (asks_name) {
        answer = sysinfo::windows_name(
            text_in_encoding(key.string(L"ProductName", value), encoding), version.build);
      } else if (asks_build) {
        append_number(answer, version.build);
        if (const std::optional<DWORD> revision = key.number(L"UBR")) append_number(answer, *revision);
      } else if (text::keyword_match(input, "installed")) {
        // Seconds since 1970 (UTC), as $asctime takes them.
        if (const std::optional<DWORD> installed = key.number(L"InstallDate")) {
          answer.assign(text::id_to_text(*installed));
        }
      } else if (text::keyword_match(input, "release")) {
        // The release name of Windows 10 20H2 and later, the release number
        // of earlier ones, the service pack before Windows 10.
        answer = text_in_encoding(key.string(L"DisplayVersion", value), encoding);
        if (answer.empty()) answer = text_in_encoding(key.string(L"ReleaseId", value), encoding);
        if (answer.empty()) answer = text_in_encoding(reported.szCSDVersion, encoding);
      } else {
        return Text(kError);
      }
    }
    // Windows did not say.
    if (answer.empty()) answer.assign(kFalse);
    return answer;
  });
}
