// OS: which Windows this is, as Windows itself says, not as it tells an old
// program: GetVersionEx answers 6.2 to a program without a manifest on
// Windows 8.1, 10 and 11, and the registry's product name still says
// Windows 10 on Windows 11.
#include "host/command.h"
#include "host/text.h"
#include "host/wide_text.h"
#include "sysinfo/machine_facts.h"
#include "sysinfo/registry_values.h"

using namespace toolcase;

extern "C" NTSYSAPI LONG NTAPI RtlGetVersion(PRTL_OSVERSIONINFOW version);

namespace {

constexpr wchar_t kCurrentVersionKey[] = L"SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion";

// The DLL's own bitness, or that of the Windows it runs on under WOW64.
bool windows_is_64_bit() {
#ifdef _WIN64
  return true;
#else
  BOOL wow64 = FALSE;
  return IsWow64Process(GetCurrentProcess(), &wow64) && wow64;
#endif
}

// "a.b" from two numbers, with a separator.
Text joined(DWORD first, char separator, DWORD second) {
  Text text(text::integer_to_text(static_cast<std::int32_t>(first)));
  text.push_back(separator);
  text.append(text::integer_to_text(static_cast<std::int32_t>(second)));
  return text;
}

}  // namespace

TOOLCASE_COMMAND(OS) {
  return run_text_command(data, main_window, [](const Text& input, TextEncoding encoding) {
    RTL_OSVERSIONINFOW version{};
    version.dwOSVersionInfoSize = sizeof version;
    RtlGetVersion(&version);
    if (text::keyword_match(input, "version")) {
      Text answer = joined(version.dwMajorVersion, '.', version.dwMinorVersion);
      answer.push_back('.');
      answer.append(text::integer_to_text(static_cast<std::int32_t>(version.dwBuildNumber)));
      return answer;
    }
    if (text::keyword_match(input, "bits")) return Text(windows_is_64_bit() ? "64" : "32");
    const bool name = text::keyword_match(input, "name");
    const bool build = !name && text::keyword_match(input, "build");
    const bool release = !name && !build && text::keyword_match(input, "release");
    if (!name && !build && !release) return Text(kError);

    const sysinfo::MachineKey key(kCurrentVersionKey);
    sysinfo::RegistryString value;
    if (name) {
      const Text product = text_in_encoding(key.string(L"ProductName", value), encoding);
      return product.empty() ? Text(kFalse) : sysinfo::windows_name(product, version.dwBuildNumber);
    }
    if (build) {
      const std::optional<DWORD> revision = key.number(L"UBR");
      if (!revision) return Text(text::integer_to_text(static_cast<std::int32_t>(version.dwBuildNumber)));
      return joined(version.dwBuildNumber, '.', *revision);
    }
    // The release name of Windows 10 20H2 and later, the release number of
    // earlier ones, the service pack before Windows 10.
    for (const wchar_t* release_value : {L"DisplayVersion", L"ReleaseId"}) {
      const Text answer = text_in_encoding(key.string(release_value, value), encoding);
      if (!answer.empty()) return answer;
    }
    const Text service_pack = text_in_encoding(version.szCSDVersion, encoding);
    return service_pack.empty() ? Text(kFalse) : service_pack;
  });
}
