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

// Appends a number, after a '.' when there is text already.
void append_number(Text& text, DWORD number) {
  if (!text.empty()) text.push_back('.');
  text.append(text::integer_to_text(static_cast<std::int32_t>(number)));
}

}  // namespace

TOOLCASE_COMMAND(OS) {
  return run_text_command(data, main_window, [](const Text& input, TextEncoding encoding) {
    RTL_OSVERSIONINFOW version{};
    version.dwOSVersionInfoSize = sizeof version;
    RtlGetVersion(&version);
    Text answer;
    if (text::keyword_match(input, "bits")) {
      answer.assign(windows_is_64_bit() ? "64" : "32");
    } else if (text::keyword_match(input, "version")) {
      for (const DWORD number :
           {version.dwMajorVersion, version.dwMinorVersion, version.dwBuildNumber}) {
        append_number(answer, number);
      }
    } else {
      const sysinfo::MachineKey key(kCurrentVersionKey);
      sysinfo::RegistryString value;
      if (text::keyword_match(input, "name")) {
        answer = sysinfo::windows_name(
            text_in_encoding(key.string(L"ProductName", value), encoding), version.dwBuildNumber);
      } else if (text::keyword_match(input, "build")) {
        append_number(answer, version.dwBuildNumber);
        if (const std::optional<DWORD> revision = key.number(L"UBR")) append_number(answer, *revision);
      } else if (text::keyword_match(input, "release")) {
        // The release name of Windows 10 20H2 and later, the release number
        // of earlier ones, the service pack before Windows 10.
        answer = text_in_encoding(key.string(L"DisplayVersion", value), encoding);
        if (answer.empty()) answer = text_in_encoding(key.string(L"ReleaseId", value), encoding);
        if (answer.empty()) answer = text_in_encoding(version.szCSDVersion, encoding);
      } else {
        return Text(kError);
      }
    }
    // Windows did not say.
    if (answer.empty()) answer.assign(kFalse);
    return answer;
  });
}
