// Computer and user name, memory figures and screen size, against the
// platform's own answers, with platform calls replaced where a test needs an
// answer that a real machine rarely gives.
// Also run with LC_ALL=de_DE.UTF-8 --gtest_filter=GermanLocale.*
#include <windows.h>
#include <dxgi.h>
#include <mmdeviceapi.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <cwchar>
#include <iterator>
#include <map>
#include <regex>
#include <string>
#include <thread>
#include <vector>

#include "host/module_strings.h"
#include "linked_commands.h"
#include "sysinfo/real_number_text.h"
#include "sysinfo_import_patch.h"
#include "test_window.h"
#include "toolcase_dll.h"

using namespace toolcase;
using namespace toolcase::e2e;

namespace {

HMODULE test_program() { return GetModuleHandleA(nullptr); }

char thread_decimal_separator() {
  char setting[2] = {};
  return GetLocaleInfoA(GetThreadLocale(), LOCALE_SDECIMAL, setting, sizeof setting) > 0
             ? setting[0]
             : '.';
}

// What the replaced platform functions saw and answer.
struct FakePlatform {
  int calls = 0;
  bool buffer_was_cleared = false;
  DWORD size_passed = 0;
  std::string name_passed;
  std::string name_to_write;
  BOOL result = FALSE;
  MEMORYSTATUSEX memory{};
};
FakePlatform fake;

bool all_zero(const char* buffer, DWORD size) {
  return std::all_of(buffer, buffer + size, [](char c) { return c == 0; });
}

BOOL WINAPI fake_get_name(LPSTR buffer, LPDWORD size) {
  ++fake.calls;
  fake.size_passed = *size;
  fake.buffer_was_cleared = all_zero(buffer, *size);
  std::memcpy(buffer, fake.name_to_write.c_str(), fake.name_to_write.size() + 1);
  return fake.result;
}

BOOL WINAPI fake_set_computer_name(COMPUTER_NAME_FORMAT format, LPCSTR name) {
  ++fake.calls;
  fake.name_passed = format == ComputerNamePhysicalDnsHostname ? name : "(another name's form)";
  return fake.result;
}

BOOL WINAPI fake_global_memory_status(LPMEMORYSTATUSEX status) {
  ++fake.calls;
  fake.size_passed = status->dwLength;
  const DWORD length = status->dwLength;
  *status = fake.memory;
  status->dwLength = length;
  return TRUE;
}

std::string platform_computer_name() {
  char name[MAX_COMPUTERNAME_LENGTH + 1] = {};
  DWORD size = sizeof name;
  EXPECT_TRUE(GetComputerNameA(name, &size));
  return name;
}

std::string platform_dns_host_name() {
  char name[256] = {};
  DWORD size = sizeof name;
  EXPECT_TRUE(GetComputerNameExA(ComputerNamePhysicalDnsHostname, name, &size));
  return name;
}

std::string platform_user_name() {
  char name[256] = {};
  DWORD size = sizeof name;
  EXPECT_TRUE(GetUserNameA(name, &size));
  return name;
}

MEMORYSTATUSEX platform_memory() {
  MEMORYSTATUSEX status{};
  status.dwLength = sizeof status;
  EXPECT_TRUE(GlobalMemoryStatusEx(&status));
  return status;
}

// The DLL sees these figures instead of the machine's.
MEMORYSTATUSEX chosen_memory() {
  MEMORYSTATUSEX status{};
  status.dwMemoryLoad = 37;
  status.ullTotalPhys = 123456789;
  status.ullAvailPhys = 4294967295u;
  status.ullTotalPageFile = 0;
  status.ullAvailPageFile = 1;
  status.ullTotalVirtual = 536330240;
  status.ullAvailVirtual = 1024u * 1000000u;
  return status;
}

// The size the caller states in MEMORYSTATUSEX, in either process.
constexpr DWORD kMemoryStatusSize = 64;

constexpr DWORDLONG kFourGigabytes = DWORDLONG{1} << 32;

const char* const kByteCountKeywords[] = {"total",          "available",    "pfilesize",
                                          "pfileavailable", "vmemorytotal", "vmemoryavailable"};

}  // namespace

TEST(ComputerName, GetInAnyCaseAnswersThePlatformsName) {
  const std::string name = platform_computer_name();
  ASSERT_FALSE(name.empty());
  for (const char* input : {"get", "GET", "Get"}) EXPECT_EQ(call("ComputerName", input), name);
}

TEST(ComputerName, GetAnswersTheBufferWhateverTheCallReports) {
  ImportPatch patch(toolcase_module(), "KERNEL32.dll", "GetComputerNameA",
                    as_farproc(&fake_get_name));
  fake = {};
  fake.name_to_write = "ReportedAsFailed";
  EXPECT_EQ(call("ComputerName", "get"), "ReportedAsFailed");
  EXPECT_EQ(fake.size_passed, 256u);
}

TEST(ComputerName, GetClearsItsBufferSoAnUnwrittenNameAnswersError) {
  // The first call leaves the real name where the second call's buffer lies.
  ASSERT_NE(call("ComputerName", "get"), "error");
  ImportPatch patch(toolcase_module(), "KERNEL32.dll", "GetComputerNameA",
                    as_farproc(&fake_get_name));
  fake = {};
  fake.result = TRUE;
  EXPECT_EQ(call("ComputerName", "get"), "error");
  EXPECT_EQ(fake.calls, 1);
  EXPECT_TRUE(fake.buffer_was_cleared);
}

TEST(ComputerName, OtherFormsAnswerErrorWithoutSettingAnything) {
  ImportPatch patch(test_program(), "KERNEL32.dll", "SetComputerNameExA",
                    as_farproc(&fake_set_computer_name));
  fake = {};
  fake.result = TRUE;
  ScratchText.assign("untouched");
  for (const char* input : {"get ", " get", "getname", "", "name", "se", "sex a", " set a", "set",
                            "set ", "setX", "set 1234567890123456"}) {
    EXPECT_EQ(call_linked(&ComputerName, input), "error") << '"' << input << '"';
  }
  EXPECT_EQ(fake.calls, 0);
  EXPECT_EQ(ScratchText.value(), "untouched");
}

TEST(ComputerName, SetPassesEverythingAfterTheFourthCharacterAsWritten) {
  ImportPatch patch(test_program(), "KERNEL32.dll", "SetComputerNameExA",
                    as_farproc(&fake_set_computer_name));
  const struct {
    const char* input;
    const char* name;
  } cases[] = {{"set a", "a"},
               {"SET Office7", "Office7"},
               {"setXOffice7", "Office7"},
               {"sEt;Office 7", "Office 7"},
               {"set 123456789012345", "123456789012345"}};
  for (const auto& c : cases) {
    fake = {};
    fake.result = 1;
    EXPECT_EQ(call_linked(&ComputerName, c.input), "true") << c.input;
    EXPECT_EQ(fake.calls, 1) << c.input;
    EXPECT_EQ(fake.name_passed, c.name) << c.input;
    EXPECT_EQ(ScratchText.value(), c.name) << c.input;
  }
}

TEST(ComputerName, SetAnswersTrueOnlyWhenThePlatformReportsExactly1) {
  ImportPatch patch(test_program(), "KERNEL32.dll", "SetComputerNameExA",
                    as_farproc(&fake_set_computer_name));
  for (BOOL result : {0, 2, -1, 0x101}) {
    fake = {};
    fake.result = result;
    ScratchText.assign("before");
    EXPECT_EQ(call_linked(&ComputerName, "set Refused"), "false") << result;
    EXPECT_EQ(ScratchText.value(), "Refused") << "kept even when refused";
  }
  fake = {};
  fake.result = 1;
  EXPECT_EQ(call_linked(&ComputerName, "set Taken"), "true");
}

TEST(ComputerName, SetRenamesThisThrowawayMachineAsWindowsDoes) {
  const std::string original = platform_computer_name();
  const std::string original_host = platform_dns_host_name();
  EXPECT_EQ(call("ComputerName", "set ToolcaseBox"), "true");
  // The DNS host name, which a NetBIOS name alone would leave as it was.
  EXPECT_EQ(platform_dns_host_name(), "ToolcaseBox");
  // The new name applies from the next start; this session keeps its own.
  EXPECT_EQ(call("ComputerName", "get"), original);
  EXPECT_TRUE(SetComputerNameExA(ComputerNamePhysicalDnsHostname, original_host.c_str()));
}

TEST(UserName, AnswersThePlatformsNameWhateverTheInput) {
  const std::string name = platform_user_name();
  ASSERT_FALSE(name.empty());
  for (const std::string& input : {std::string(), std::string("get"), std::string("FALSE"),
                                   std::string(899, 'q')}) {
    EXPECT_EQ(call("UserName", input), name);
  }
}

TEST(UserName, AnswersTheBlocksTextAndFalseWhenItStaysEmpty) {
  ASSERT_NE(call("UserName", ""), "false");
  ImportPatch patch(toolcase_module(), "ADVAPI32.dll", "GetUserNameA",
                    as_farproc(&fake_get_name));
  fake = {};
  EXPECT_EQ(call("UserName", ""), "false");
  EXPECT_TRUE(fake.buffer_was_cleared);
  EXPECT_EQ(fake.size_passed, 250u);

  fake = {};
  fake.name_to_write = std::string(249, 'u');
  EXPECT_EQ(call("UserName", ""), fake.name_to_write);
}

TEST(Memory, WritesEachFigureByTheRealNumberRule) {
  ImportPatch patch(toolcase_module(), "KERNEL32.dll", "GlobalMemoryStatusEx",
                    as_farproc(&fake_global_memory_status));
  fake = {};
  fake.memory = chosen_memory();
  const std::string point(1, thread_decimal_separator());
  EXPECT_EQ(call("Memory", "total"), "120563" + point + "270507813KB");
  EXPECT_EQ(call("Memory", "used"), "37%");
  EXPECT_EQ(call("Memory", "available"), "4194303" + point + "99902344KB");
  EXPECT_EQ(call("Memory", "pfilesize"), "0KB");
  EXPECT_EQ(call("Memory", "pfileavailable"), "0" + point + "0009765625KB");
  EXPECT_EQ(call("Memory", "vmemorytotal"), "523760KB");
  EXPECT_EQ(call("Memory", "vmemoryavailable"), "1000000KB");
  EXPECT_EQ(fake.calls, 7);
  EXPECT_EQ(fake.size_passed, kMemoryStatusSize);

  fake.memory.dwMemoryLoad = 100;
  EXPECT_EQ(call("Memory", "used"), "100%");
}

// Either DLL reads 64-bit counts, far above 4 GB: no figure is cut.
TEST(Memory, SixtyFourBitCountsStayWhole) {
  ImportPatch patch(toolcase_module(), "KERNEL32.dll", "GlobalMemoryStatusEx",
                    as_farproc(&fake_global_memory_status));
  fake = {};
  fake.memory = chosen_memory();
  const std::uint64_t user_space = 0x7FFFFFFE0000;  // 128 TB less 128 KB
  fake.memory.ullTotalVirtual = user_space;
  fake.memory.ullAvailVirtual = user_space + 1;
  fake.memory.ullTotalPhys = DWORDLONG{24683768} * 1024;
  fake.memory.ullTotalPageFile = 6 * kFourGigabytes + 1;
  const std::string point(1, thread_decimal_separator());
  EXPECT_EQ(call("Memory", "total"), "24683768KB");
  EXPECT_EQ(call("Memory", "pfilesize"), "25165824" + point + "0009766KB");
  EXPECT_EQ(call("Memory", "vmemorytotal"), "137438953344KB");
  EXPECT_EQ(call("Memory", "vmemoryavailable"), "137438953344" + point + "001KB");
}

TEST(Memory, AsksThePlatformBeforeMatchingAndAnswersErrorForOtherText) {
  ImportPatch patch(toolcase_module(), "KERNEL32.dll", "GlobalMemoryStatusEx",
                    as_farproc(&fake_global_memory_status));
  fake = {};
  fake.memory = chosen_memory();
  EXPECT_EQ(call("Memory", "USED"), "37%");
  EXPECT_EQ(call("Memory", "VMemoryTotal"), "523760KB");
  const char* const unknown[] = {"pfile", "memory", "total ", " used", "", "kb"};
  for (const char* input : unknown) EXPECT_EQ(call("Memory", input), "error") << input;
  EXPECT_EQ(fake.calls, 2 + static_cast<int>(std::size(unknown)));
}

TEST(Memory, RealFiguresAreThePlatformsInKilobytes) {
  const char point = thread_decimal_separator();
  const MEMORYSTATUSEX status = platform_memory();
  EXPECT_EQ(call("Memory", "total"),
            std::string(sysinfo::kilobytes_text(status.ullTotalPhys, point)) + "KB");
  EXPECT_EQ(call("Memory", "vmemorytotal"),
            std::string(sysinfo::kilobytes_text(status.ullTotalVirtual, point)) + "KB");
  const std::regex kilobytes(std::string("[1-9][0-9]*(\\") + point + "[0-9]+)?KB|0KB");
  for (const char* keyword : kByteCountKeywords) {
    const std::string answer = call("Memory", keyword);
    EXPECT_TRUE(std::regex_match(answer, kilobytes)) << keyword << ": " << answer;
  }
  const std::string used = call("Memory", "used");
  ASSERT_TRUE(std::regex_match(used, std::regex("[0-9]{1,3}%"))) << used;
  EXPECT_LE(std::stoi(used), 100);
}

// GlobalMemoryStatus would cap these at 2 GB (4 GB) in a 32-bit process.
TEST(Memory, AMachineBeyondFourGigabytesIsCountedWhole) {
  const char point = thread_decimal_separator();
  const MEMORYSTATUSEX status = platform_memory();
  if (status.ullTotalPhys <= kFourGigabytes) {
    GTEST_SKIP() << "this machine has " << status.ullTotalPhys / 1048576 << " MB, not over 4 GB";
  }
  EXPECT_EQ(call("Memory", "total"),
            std::string(sysinfo::kilobytes_text(status.ullTotalPhys, point)) + "KB");
  EXPECT_EQ(call("Memory", "pfilesize"),
            std::string(sysinfo::kilobytes_text(status.ullTotalPageFile, point)) + "KB");
  EXPECT_EQ(call("Memory", "vmemorytotal"),
            std::string(sysinfo::kilobytes_text(status.ullTotalVirtual, point)) + "KB");
}

TEST(Memory, TheDecimalSeparatorIsTheOneFoundAtLoad) {
  const char at_load = thread_decimal_separator();
  const LCID before = GetThreadLocale();
  const LCID other = MAKELCID(MAKELANGID(at_load == ',' ? LANG_ENGLISH : LANG_GERMAN,
                                         SUBLANG_DEFAULT), SORT_DEFAULT);
  ASSERT_TRUE(SetThreadLocale(other));
  const char now = thread_decimal_separator();
  ImportPatch patch(toolcase_module(), "KERNEL32.dll", "GlobalMemoryStatusEx",
                    as_farproc(&fake_global_memory_status));
  fake = {};
  fake.memory = chosen_memory();
  const std::string answer = call("Memory", "total");
  SetThreadLocale(before);
  ASSERT_NE(now, at_load) << "the other locale has the same separator";
  EXPECT_EQ(answer, std::string("120563") + at_load + "270507813KB");
}

TEST(Screen, AnswersThePrimaryScreensSize) {
  const std::string width = std::to_string(GetSystemMetrics(SM_CXSCREEN));
  const std::string height = std::to_string(GetSystemMetrics(SM_CYSCREEN));
  EXPECT_EQ(call("Screen", "width"), width);
  EXPECT_EQ(call("Screen", "WIDTH"), width);
  EXPECT_EQ(call("Screen", "height"), height);
  EXPECT_EQ(call("Screen", "Height"), height);
  EXPECT_EQ(call("Screen", "resolution"), width + "x" + height);
  EXPECT_EQ(call("Screen", "RESOLUTION"), width + "x" + height);
  for (const char* input : {"Resolution ", " width", "", "size", "widths"}) {
    EXPECT_EQ(call("Screen", input), "error") << '"' << input << '"';
  }
}

// A host that is not DPI-aware, on a scaled screen, reads the metrics
// shrunk: 1280 for 1920 pixels at 150%.
int WINAPI two_thirds_of_metric(int index) { return GetSystemMetrics(index) * 2 / 3; }
BOOL WINAPI failing_display_settings(LPCSTR, DWORD, DEVMODEA*) { return FALSE; }
// A mode at the hardware's default rate (1) and of no depth (0): Windows does not know them.
BOOL WINAPI unknown_rate_and_depth(LPCSTR, DWORD, DEVMODEA* mode) { return mode->dmDisplayFrequency = 1, mode->dmBitsPerPel = 0, TRUE; }

TEST(Screen, AnswersTheDisplaysModeElseTheMetrics) {
  DEVMODEA mode{};
  mode.dmSize = sizeof mode;
  ASSERT_TRUE(EnumDisplaySettingsA(nullptr, ENUM_CURRENT_SETTINGS, &mode));
  const struct {
    const char* function;
    FARPROC replacement;
    int width, height;
  } rows[] = {
      {"GetSystemMetrics", as_farproc(&two_thirds_of_metric), static_cast<int>(mode.dmPelsWidth),
       static_cast<int>(mode.dmPelsHeight)},
      {"EnumDisplaySettingsA", as_farproc(&failing_display_settings),
       GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)},
  };
  EXPECT_EQ(call("Screen", "HZ"), mode.dmDisplayFrequency > 1 ? std::to_string(mode.dmDisplayFrequency) : "false");
  EXPECT_EQ(call("Screen", "bits"), std::to_string(mode.dmBitsPerPel));
  for (const FARPROC unknown : {as_farproc(&unknown_rate_and_depth), as_farproc(&failing_display_settings)}) {
    const ImportPatch patch(toolcase_module(), "USER32.dll", "EnumDisplaySettingsA", unknown);
    EXPECT_EQ(call("Screen", "hz") + " " + call("Screen", "bits"), "false false");
  }
  for (const auto& row : rows) {
    SCOPED_TRACE(row.function);
    const ImportPatch patch(toolcase_module(), "USER32.dll", row.function, row.replacement);
    EXPECT_EQ(call("Screen", "width"), std::to_string(row.width));
    EXPECT_EQ(call("Screen", "height"), std::to_string(row.height));
    EXPECT_EQ(call("Screen", "resolution"),
              std::to_string(row.width) + "x" + std::to_string(row.height));
  }
}

// What the replaced calls report: the tick of the last input, whether they
// can say, and the tick of now.
DWORD last_input_tick = 0, now = 0;
bool input_reported = true;
BOOL WINAPI reported_last_input(PLASTINPUTINFO info) {
  info->dwTime = last_input_tick;
  return input_reported;
}
DWORD WINAPI reported_now() { return now; }

TEST(IdleTime, AnswersTheWholeSecondsSinceTheLastInputAcrossTheWrap) {
  EXPECT_TRUE(std::regex_match(call("IdleTime", ""), std::regex("[0-9]+")));
  const ImportPatch input(toolcase_module(), "USER32.dll", "GetLastInputInfo",
                          as_farproc(&reported_last_input));
  const ImportPatch ticks(toolcase_module(), "KERNEL32.dll", "GetTickCount",
                          as_farproc(&reported_now));
  const struct {
    DWORD last_input, now;
    bool reported;
    const char* answer;
  } rows[] = {
      {1000, 91999, true, "90"},
      {0xFFFFF000, 85904, true, "90"},  // 4096 ms before the wrap, 85904 after
      {0x0000000A, 0xFFFFFFF6, true, "0"},  // stamped 20 ms ahead, across the wrap
      {1000, 2000, false, "error"},
  };
  for (const auto& row : rows) {
    last_input_tick = row.last_input;
    input_reported = row.reported;
    now = row.now;
    EXPECT_EQ(call("IdleTime", "anything"), row.answer) << row.last_input << " " << row.now;
  }
}

// Windows as a machine would report itself: RtlGetVersion's numbers and
// service pack, and the values under CurrentVersion (others not found).
struct StagedWindows {
  DWORD major, minor, build;
  std::wstring service_pack;
  std::map<std::wstring, std::wstring> strings;
  std::map<std::wstring, DWORD> numbers;
};
StagedWindows staged;
LONG NTAPI staged_version(PRTL_OSVERSIONINFOW info) {
  info->dwMajorVersion = staged.major;
  info->dwMinorVersion = staged.minor;
  info->dwBuildNumber = staged.build;
  staged.service_pack.copy(info->szCSDVersion, 127);
  return 0;
}
LSTATUS WINAPI staged_value(HKEY, LPCWSTR name, LPDWORD, LPDWORD type, LPBYTE data, LPDWORD size) {
  const auto found = staged.strings.find(name);
  if (found != staged.strings.end() && *size >= (found->second.size() + 1) * 2) {
    *type = REG_SZ;
    *size = (found->second.size() + 1) * 2;
    std::memcpy(data, found->second.c_str(), *size);
  } else if (const auto number = staged.numbers.find(name); number != staged.numbers.end()) {
    *type = REG_DWORD;
    std::memcpy(data, &number->second, *size = sizeof(DWORD));
  } else {
    return ERROR_FILE_NOT_FOUND;
  }
  return ERROR_SUCCESS;
}

TEST(OS, AnswersWindowsOwnNameVersionBuildAndRelease) {
  const ImportPatch version(toolcase_module(), "ntdll.dll", "RtlGetVersion",
                            as_farproc(&staged_version));
  const ImportPatch values(toolcase_module(), "ADVAPI32.dll", "RegQueryValueExW",
                           as_farproc(&staged_value));
  const struct {
    StagedWindows windows;
    std::string name, version, build, release;
  } rows[] = {
      {{10, 0, 22631, L"", {{L"ProductName", L"Windows 10 Pro"}, {L"DisplayVersion", L"23H2"},
                            {L"ReleaseId", L"2009"}}, {{L"UBR", 4317}}},
       "Windows 11 Pro", "10.0.22631", "22631.4317", "23H2"},
      {{10, 0, 19045, L"", {{L"ProductName", L"Windows 10 Home"}, {L"ReleaseId", L"1909"}}, {}},
       "Windows 10 Home", "10.0.19045", "19045", "1909"},
      {{5, 1, 2600, L"Service Pack 3", {{L"ProductName", L"Microsoft Windows XP"}}, {}},
       "Microsoft Windows XP", "5.1.2600", "2600", "Service Pack 3"},
      {{6, 1, 7601, L"", {}, {}}, "false", "6.1.7601", "7601", "false"},
      // mIRC set to run as on Windows 7: the registry keeps Windows' own numbers.
      {{6, 1, 7601, L"Service Pack 1", {{L"ProductName", L"Windows 10 Pro"},
                                        {L"CurrentBuildNumber", L"22631"}},
        {{L"CurrentMajorVersionNumber", 10}, {L"CurrentMinorVersionNumber", 0}, {L"UBR", 4317}}},
       "Windows 11 Pro", "10.0.22631", "22631.4317", "Service Pack 1"},
  };
  for (const auto& row : rows) {
    staged = row.windows;
    EXPECT_EQ(call("OS", "name"), row.name);
    EXPECT_EQ(call("OS", "VERSION"), row.version);
    EXPECT_EQ(call("OS", "build"), row.build);
    EXPECT_EQ(call("OS", "release"), row.release);
  }
  EXPECT_EQ(call("OS", "name "), "error");
}

// Windows 10 on ARM emulates a 32-bit host where IsWow64Process says FALSE;
// IsWow64Process2 names the machine, where Windows has it.
USHORT native_machine = 0;
BOOL WINAPI staged_machines(HANDLE, USHORT* process, USHORT* native) {
  *process = IMAGE_FILE_MACHINE_I386;
  *native = native_machine;
  return native_machine != 0;
}
BOOL WINAPI no_wow64(HANDLE, PBOOL wow64) {
  *wow64 = FALSE;
  return TRUE;
}

TEST(OS, BitsAreWindowsOwnWhateverEmulatesTheHost) {
  const FreshToolcase copy;
  const StagedLookup lookup(copy.module(), {{"IsWow64Process2", as_farproc(&staged_machines)}});
#ifndef _WIN64
  const ImportPatch wow64(copy.module(), "KERNEL32.dll", "IsWow64Process", as_farproc(&no_wow64));
#endif
  for (const auto& [machine, bits] : {std::pair<USHORT, const char*>{0xAA64, "64"}, {0x8664, "64"},
                                      {IMAGE_FILE_MACHINE_I386, "32"}, {0, "32"}}) {
    native_machine = machine;
    EXPECT_EQ(copy.call("OS", "bits"), sizeof(void*) == 8 ? "64" : bits) << machine;
  }
}

// Wine, told to be Windows 7 for one program, as a compatibility mode set on
// mIRC tells it, while the registry keeps Windows 10's numbers: those, as
// Windows itself has them.
TEST(OS, AnswersWindowsOwnVersionWhateverTheProgramIsTold) {
  BOOL wow64 = FALSE;
  IsWow64Process(GetCurrentProcess(), &wow64);
  EXPECT_EQ(call("OS", "bits"), sizeof(void*) == 8 || wow64 ? "64" : "32");
  HKEY current = nullptr;
  ASSERT_EQ(RegOpenKeyExA(HKEY_LOCAL_MACHINE, "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion", 0,
                          KEY_QUERY_VALUE | KEY_SET_VALUE | KEY_WOW64_64KEY, &current), ERROR_SUCCESS);
  DWORD numbers[2] = {}, size = sizeof numbers[0];
  const char* number_names[2] = {"CurrentMajorVersionNumber", "CurrentMinorVersionNumber"};
  const bool had_numbers = RegQueryValueExA(current, number_names[0], nullptr, nullptr,
                                            reinterpret_cast<BYTE*>(&numbers[0]), &size) == ERROR_SUCCESS;
  RegQueryValueExA(current, number_names[1], nullptr, nullptr, reinterpret_cast<BYTE*>(&numbers[1]), &size);
  char build[16] = {};
  DWORD build_size = sizeof build;
  RegQueryValueExA(current, "CurrentBuildNumber", nullptr, nullptr, reinterpret_cast<BYTE*>(build), &build_size);
  for (int i = 0; i < 2; ++i) {
    const DWORD windows_10[2] = {10, 0};
    RegSetValueExA(current, number_names[i], 0, REG_DWORD, reinterpret_cast<const BYTE*>(&windows_10[i]), 4);
  }
  RegSetValueExA(current, "CurrentBuildNumber", 0, REG_SZ, reinterpret_cast<const BYTE*>("19045"), 6);
  const char* key = "Software\\Wine\\AppDefaults\\toolcase-call.exe";
  RegSetKeyValueA(HKEY_CURRENT_USER, key, "Version", REG_SZ, "win7", 5);
  std::string program = toolcase_dll_path();
  program.replace(program.size() - 4, 4, "-call.exe");
  FILE* output = _popen(("\"" + program + "\" OS version").c_str(), "r");
  char answer[32] = {};
  ASSERT_NE(output, nullptr);
  std::fgets(answer, sizeof answer, output);
  _pclose(output);
  RegDeleteKeyA(HKEY_CURRENT_USER, key);
  for (int i = 0; i < 2; ++i) {
    if (had_numbers) RegSetValueExA(current, number_names[i], 0, REG_DWORD, reinterpret_cast<const BYTE*>(&numbers[i]), 4);
    else RegDeleteValueA(current, number_names[i]);
  }
  RegSetValueExA(current, "CurrentBuildNumber", 0, REG_SZ, reinterpret_cast<const BYTE*>(build), build_size);
  EXPECT_STREQ(answer, "10.0.19045\n");
  // When Windows was installed: an unsigned 32-bit count of seconds, in the 64-bit view.
  const DWORD installed = 4'000'000'000;
  RegSetValueExA(current, "InstallDate", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&installed), 4);
  EXPECT_EQ(call("OS", "installed"), "4000000000");
  RegDeleteValueA(current, "InstallDate");
  EXPECT_EQ(call("OS", "Installed"), "false");
  RegCloseKey(current);
}

// What Windows tells of the session and the screen: 0 and 1 the session
// flags, -1 unknown, kFails a query that fails.
constexpr LONG kFails = -2;
struct StagedPresence {
  LONG session_flags, connect_state;
  BOOL screen_saver;
  int notification_state;  // 0: the query fails
  bool input_desktop_opens;
};
StagedPresence presence_stage;
BOOL WINAPI staged_session(HANDLE, DWORD, int information, LPWSTR* buffer, DWORD* bytes) {
  // WTSINFOEXW: its level-1 record starts 8 bytes in; WTSConnectState: an int.
  static LONG info[24];
  const LONG value = information == 25 ? presence_stage.session_flags : presence_stage.connect_state;
  if (value == kFails || (information != 25 && information != 8)) return SetLastError(ERROR_NOT_SUPPORTED), FALSE;
  if (information == 25) info[0] = 1, info[2] = 1, info[3] = 0, info[4] = value;
  else info[0] = value;
  *buffer = reinterpret_cast<LPWSTR>(info);
  *bytes = information == 25 ? sizeof info : sizeof(LONG);
  return TRUE;
}
void WINAPI staged_free(void*) {}
HRESULT WINAPI staged_notification_state(int* state) {
  *state = presence_stage.notification_state;
  return presence_stage.notification_state != 0 ? S_OK : E_FAIL;
}
BOOL WINAPI staged_saver(UINT, UINT, void* running, UINT) { return *static_cast<BOOL*>(running) = presence_stage.screen_saver, TRUE; }
HDESK WINAPI staged_input_desktop(DWORD, BOOL, ACCESS_MASK access) {
  return presence_stage.input_desktop_opens ? OpenDesktopA("Default", 0, FALSE, access) : nullptr;
}

// Windows 10 by its registry, Windows 7 and 8 by RtlGetVersion; a Windows 7
// compatibility mode on Windows 10 leaves the registry's numbers, and on
// Windows 8.1 its CurrentVersion string.
const StagedWindows kWindows10{6, 1, 7601, L"", {{L"CurrentBuildNumber", L"19045"}},
                               {{L"CurrentMajorVersionNumber", 10}, {L"CurrentMinorVersionNumber", 0}}};
const StagedWindows kWindows7{6, 1, 7601, L"", {}, {}};
const StagedWindows kWindows8{6, 2, 9200, L"", {}, {}};
const StagedWindows kWindows81AsWindows7{6, 1, 7601, L"", {{L"CurrentVersion", L"6.3"}}, {}};

TEST(Presence, IsTheFirstThatWindowsTells) {
  EXPECT_EQ(call("Presence", "anything"), "here");
  constexpr int kActive = 0, kDisconnected = 4;
  const struct {
    bool session_functions, notification_function;
    StagedWindows windows;
    StagedPresence stage;
    const char* word;
  } rows[] = {
      {true, true, kWindows10, {0, kActive, FALSE, 5, true}, "locked"},
      {true, true, kWindows10, {1, kActive, FALSE, 5, true}, "here"},
      {true, true, kWindows7, {0, kActive, FALSE, 5, true}, "here"},
      {true, true, kWindows7, {1, kActive, FALSE, 5, true}, "locked"},
      {true, true, kWindows81AsWindows7, {0, kActive, FALSE, 5, true}, "locked"},
      {true, true, kWindows81AsWindows7, {1, kActive, FALSE, 5, true}, "here"},
      {true, true, kWindows10, {0, kActive, TRUE, 5, true}, "locked"},
      {true, true, kWindows10, {-1, kActive, TRUE, 5, true}, "screensaver"},
      {true, true, kWindows10, {-1, kActive, FALSE, 3, true}, "game"},
      {true, true, kWindows10, {kFails, kDisconnected, FALSE, 5, true}, "locked"},
      {true, true, kWindows10, {1, kActive, FALSE, 1, true}, "locked"},
      {true, true, kWindows10, {1, kActive, FALSE, 2, true}, "fullscreen"},
      {true, true, kWindows10, {1, kActive, FALSE, 4, true}, "presenting"},
      {true, true, kWindows10, {1, kActive, FALSE, 6, true}, "here"},
      {true, true, kWindows10, {1, kActive, FALSE, 7, true}, "here"},
      {true, true, kWindows8, {kFails, kActive, FALSE, 7, true}, "fullscreen"},
      {true, true, kWindows10, {1, kActive, FALSE, 0, false}, "locked"},
      {false, true, kWindows10, {0, kDisconnected, FALSE, 4, false}, "presenting"},
      {false, false, kWindows7, {0, kDisconnected, FALSE, 4, false}, "locked"},  // Windows XP
      {false, false, kWindows7, {0, kDisconnected, FALSE, 4, true}, "here"},
  };
  for (const auto& row : rows) {
    const FreshToolcase copy;
    const auto staged_if = [](bool present, FARPROC function) { return present ? function : nullptr; };
    const StagedLookup lookup(
        copy.module(),
        {{"WTSQuerySessionInformationW", staged_if(row.session_functions, as_farproc(&staged_session))},
         {"WTSFreeMemory", staged_if(row.session_functions, as_farproc(&staged_free))},
         {"SHQueryUserNotificationState",
          staged_if(row.notification_function, as_farproc(&staged_notification_state))}});
    const ImportPatch saver(copy.module(), "USER32.dll", "SystemParametersInfoW", as_farproc(&staged_saver));
    const ImportPatch desktop(copy.module(), "USER32.dll", "OpenInputDesktop", as_farproc(&staged_input_desktop));
    const ImportPatch version(copy.module(), "ntdll.dll", "RtlGetVersion", as_farproc(&staged_version));
    const ImportPatch values(copy.module(), "ADVAPI32.dll", "RegQueryValueExW", as_farproc(&staged_value));
    staged = row.windows;
    presence_stage = row.stage;
    EXPECT_EQ(copy.call("Presence", ""), row.word) << &row - rows;
  }
}

// The processor's counts against the platform's own; its stored name and
// speed as this throwaway machine stores them.
TEST(CPU, AnswersTheProcessorAndHowBusyItIs) {
  EXPECT_EQ(call("CPU", "threads"), std::to_string(GetActiveProcessorCount(ALL_PROCESSOR_GROUPS)));
  DWORD size = 0;
  GetLogicalProcessorInformationEx(RelationProcessorCore, nullptr, &size);
  std::vector<char> cores(size);
  auto* const first_core = reinterpret_cast<PSYSTEM_LOGICAL_PROCESSOR_INFORMATION_EX>(cores.data());
  ASSERT_TRUE(GetLogicalProcessorInformationEx(RelationProcessorCore, first_core, &size));
  const DWORD core_size = first_core->Size;
  EXPECT_EQ(call("CPU", "Cores"), std::to_string(size / core_size));
  // Not redirected for 32-bit programs: both views are one.
  const char* key = "HARDWARE\\DESCRIPTION\\System\\CentralProcessor\\0";
  const char name[] = "  Staged Processor @ 2.90GHz  ";
  const DWORD megahertz = 2904;
  RegSetKeyValueA(HKEY_LOCAL_MACHINE, key, "ProcessorNameString", REG_SZ, name, sizeof name);
  RegSetKeyValueA(HKEY_LOCAL_MACHINE, key, "~MHz", REG_DWORD, &megahertz, sizeof megahertz);
  EXPECT_EQ(call("CPU", "name"), "Staged Processor @ 2.90GHz");
  EXPECT_EQ(call("CPU", "speed"), "2904MHz");
  RegSetKeyValueA(HKEY_LOCAL_MACHINE, key, "VendorIdentifier", REG_SZ, " AuthenticAMD ", 15);
  EXPECT_EQ(call("CPU", "vendor"), "AuthenticAMD");
  EXPECT_EQ(call("CPU", "load"), "error");

  call("CPU", "usage");  // the interval starts
  std::atomic<bool> busy{true};
  std::vector<std::thread> spinners;
  for (int i = 0; i < 2; ++i) spinners.emplace_back([&busy] { while (busy) {} });
  Sleep(600);
  const std::string usage = call("CPU", "usage");
  const DWORD start = GetTickCount();
  EXPECT_EQ(call("CPU", "usage"), usage);  // within a quarter second: the same figure, at once
  EXPECT_LT(GetTickCount() - start, 100u);
  busy = false;
  for (std::thread& spinner : spinners) spinner.join();
  ASSERT_TRUE(std::regex_match(usage, std::regex("[0-9]+%"))) << usage;
  EXPECT_GE(std::stoi(usage), 50) << usage;
}

// Windows XP and Vista have neither the list of every processor group nor
// its count: the older list, of one entry per core with its threads as bits.
TEST(CPU, CountsFromTheOlderListWhereWindowsHasNoOther) {
  const FreshToolcase copy;
  const StagedLookup as_on_vista(copy.module(), {{"GetLogicalProcessorInformationEx", nullptr},
                                                 {"GetActiveProcessorCount", nullptr}});
  for (const char* count : {"cores", "threads"}) {
    EXPECT_EQ(copy.call("CPU", count), call("CPU", count)) << count;
  }
}

// A machine of more cores than the list's buffer holds still counts its threads.
BOOL WINAPI oversized_list(DWORD, void*, PDWORD length) {
  *length = 1 << 20;
  SetLastError(ERROR_INSUFFICIENT_BUFFER);
  return FALSE;
}

TEST(CPU, CountsThreadsWhenTheListDoesNotFit) {
  const FreshToolcase copy;
  const StagedLookup huge(copy.module(), {{"GetLogicalProcessorInformationEx", as_farproc(&oversized_list)}});
  EXPECT_EQ(copy.call("CPU", "threads"), call("CPU", "threads"));
  EXPECT_EQ(copy.call("CPU", "cores"), "false");
}

// What GetSystemPowerStatus reports; 255 is unknown.
SYSTEM_POWER_STATUS power{};
BOOL WINAPI reported_power(LPSYSTEM_POWER_STATUS status) {
  *status = power;
  return TRUE;
}

TEST(Battery, AnswersTheChargeThePowerSourceAndWhetherItCharges) {
  const ImportPatch patch(toolcase_module(), "KERNEL32.dll", "GetSystemPowerStatus",
                          as_farproc(&reported_power));
  const struct {
    BYTE ac_line, flag, percent;
    std::string level, source, charging;
  } rows[] = {
      {1, 128, 255, "none", "ac", "false"},  // a desktop: no system battery
      {1, 1 | 8, 76, "76%", "ac", "true"},   // high, charging
      {0, 2, 15, "15%", "battery", "false"},
      {255, 255, 255, "false", "false", "false"},
  };
  for (const auto& row : rows) {
    power = {row.ac_line, row.flag, row.percent, 0, 0, 0};
    EXPECT_EQ(call("Battery", "level"), row.level);
    EXPECT_EQ(call("Battery", "power"), row.source);
    EXPECT_EQ(call("Battery", "Charging"), row.charging);
  }
  EXPECT_EQ(call("Battery", ""), "error");
}

// The display devices as a machine with a remote-control program lists them:
// its mirroring driver, flagged primary too, comes first.
const std::vector<std::pair<const wchar_t*, DWORD>>* listed_devices = nullptr;
BOOL WINAPI listed_device(LPCWSTR, DWORD index, PDISPLAY_DEVICEW device, DWORD) {
  if (index >= listed_devices->size()) return FALSE;
  std::wcscpy(device->DeviceString, (*listed_devices)[index].first);
  device->StateFlags = (*listed_devices)[index].second;
  return TRUE;
}

// DirectX's adapters as a test lists them: each object a table of the
// methods the DLL calls (2 Release, 12 EnumAdapters1, 10 GetDesc1), counting
// the references it hands out. A gaming laptop: Windows' software renderer,
// the integrated card that drives the display and the discrete one.
struct StagedAdapter {
  const FARPROC* methods;
  const wchar_t* name;
  unsigned long long memory;  // as DirectX tells it, cut to what the program's SIZE_T holds
  UINT flags;
  DWORD luid = 0;
  unsigned long long kernel_memory = 0;  // as the kernel's graphics interface tells it; 0: no answer
  UINT vendor = 0, device = 0;
};
std::vector<StagedAdapter> staged_adapters;
int references = 0;
bool factory_fails = false;
ULONG WINAPI release(void*) { return --references; }
HRESULT WINAPI describe(StagedAdapter* adapter, DXGI_ADAPTER_DESC1* description) {
  *description = {};
  std::wcscpy(description->Description, adapter->name);
  description->DedicatedVideoMemory = static_cast<SIZE_T>(std::min<unsigned long long>(adapter->memory, SIZE_MAX));
  description->Flags = adapter->flags;
  description->AdapterLuid.LowPart = adapter->luid;
  description->VendorId = adapter->vendor, description->DeviceId = adapter->device;
  return S_OK;
}
// D3DKMTOpenAdapterFromLuid, D3DKMTQueryAdapterInfo (segment sizes) and
// D3DKMTCloseAdapter over the staged adapters: the handle is the LUID.
int kernel_adapters_open = 0;
const StagedAdapter* by_luid(DWORD luid) {
  for (const StagedAdapter& adapter : staged_adapters) {
    if (adapter.luid == luid && adapter.kernel_memory != 0) return &adapter;
  }
  return nullptr;
}
LONG APIENTRY open_kernel_adapter(DWORD* luid_then_handle) {
  if (by_luid(luid_then_handle[0]) == nullptr) return static_cast<LONG>(0xC000000D);  // STATUS_INVALID_PARAMETER
  return luid_then_handle[2] = luid_then_handle[0], ++kernel_adapters_open, 0;
}
struct AdapterQuery {
  UINT adapter, type;
  unsigned long long* sizes;
  UINT size;
};
LONG APIENTRY query_kernel_adapter(AdapterQuery* query) { return query->sizes[0] = by_luid(query->adapter)->kernel_memory, 0; }
LONG APIENTRY close_kernel_adapter(UINT*) { return --kernel_adapters_open, 0; }
HRESULT WINAPI list_adapter(void*, UINT index, StagedAdapter** adapter) {
  if (index >= staged_adapters.size()) return DXGI_ERROR_NOT_FOUND;
  *adapter = &staged_adapters[index];
  return ++references, S_OK;
}
const FARPROC kAdapterMethods[11] = {nullptr, nullptr, as_farproc(&release), nullptr, nullptr, nullptr,
                                     nullptr, nullptr, nullptr, nullptr, as_farproc(&describe)};
const FARPROC kFactoryMethods[13] = {nullptr, nullptr, as_farproc(&release), nullptr, nullptr, nullptr, nullptr,
                                     nullptr, nullptr, nullptr, nullptr, nullptr, as_farproc(&list_adapter)};
const FARPROC* const staged_factory = kFactoryMethods;
HRESULT WINAPI create_staged_factory(REFIID, void** factory) {
  if (factory_fails) return E_FAIL;
  *factory = const_cast<const FARPROC**>(&staged_factory);
  return ++references, S_OK;
}

TEST(GPU, AnswersTheHardwareAdapterWithTheMostVideoMemoryElseThePrimaryDisplays) {
  EXPECT_NE(call("GPU", "anything"), "false");
  const FreshToolcase copy;
  const StagedLookup dxgi(copy.module(), {{"CreateDXGIFactory1", as_farproc(&create_staged_factory)}});
  const ImportPatch patch(copy.module(), "USER32.dll", "EnumDisplayDevicesW", as_farproc(&listed_device));
  constexpr DWORD kPrimary = DISPLAY_DEVICE_PRIMARY_DEVICE;
  const std::vector<std::pair<const wchar_t*, DWORD>> devices = {
      {L"Remote Mirror", kPrimary | DISPLAY_DEVICE_MIRRORING_DRIVER}, {L"Second Card", 0}, {L"First Card", kPrimary}};
  const std::vector<std::pair<const wchar_t*, DWORD>> none;
  const StagedAdapter software{kAdapterMethods, L"Basic Render", 0, DXGI_ADAPTER_FLAG_SOFTWARE};
  const StagedAdapter integrated{kAdapterMethods, L"Integrated", 128ull << 20, 0};
  const StagedAdapter discrete{kAdapterMethods, L"Discrete", 8ull << 30, 0};
  const StagedAdapter other{kAdapterMethods, L"Other Discrete", 6ull << 30, 0};
  const struct {
    bool fails;
    std::vector<StagedAdapter> adapters;
    const std::vector<std::pair<const wchar_t*, DWORD>>& devices;
    std::string answer;
  } rows[] = {
      {false, {software, integrated, discrete}, devices, "Discrete"},
      // Both over 4 GB tie in a 32-bit program: the first listed.
      {false, {integrated, other, discrete}, devices, sizeof(void*) == 8 ? "Discrete" : "Other Discrete"},
      {false, {software}, devices, "First Card"},
      {true, {integrated}, devices, "First Card"},
      {true, {}, none, "false"},
  };
  for (const auto& row : rows) {
    factory_fails = row.fails;
    staged_adapters = row.adapters;
    listed_devices = &row.devices;
    EXPECT_EQ(copy.call("GPU", ""), row.answer);
    EXPECT_EQ(references, 0) << row.answer;
  }
  // Exact figures: the kernel's, else the driver's stored one (here a key of
  // the throwaway machine's), else DirectX's where not cut.
  const StagedLookup kernel(copy.module(), {{"D3DKMTOpenAdapterFromLuid", as_farproc(&open_kernel_adapter)},
                                            {"D3DKMTQueryAdapterInfo", as_farproc(&query_kernel_adapter)},
                                            {"D3DKMTCloseAdapter", as_farproc(&close_kernel_adapter)}});
  const char* driver_key = "SYSTEM\\CurrentControlSet\\Control\\Class\\{4d36e968-e325-11ce-bfc1-08002be10318}\\0031";
  const unsigned long long twelve_gigabytes = 12ull << 30;
  RegSetKeyValueA(HKEY_LOCAL_MACHINE, driver_key, "MatchingDeviceId", REG_SZ, "PCI\\VEN_10DE&DEV_2860", 22);
  RegSetKeyValueA(HKEY_LOCAL_MACHINE, driver_key, "HardwareInformation.qwMemorySize", REG_QWORD, &twelve_gigabytes, 8);
  const StagedAdapter stored{kAdapterMethods, L"Stored", 12ull << 30, 0, 4, 0, 0x10DE, 0x2860};
  const struct {
    std::vector<StagedAdapter> adapters;
    std::string card, memory;
  } exact[] = {
      {{{kAdapterMethods, L"Integrated", 128ull << 20, 0, 1, 128ull << 20}, {kAdapterMethods, L"Other Discrete", 6ull << 30, 0, 2, 6ull << 30},
        {kAdapterMethods, L"Discrete", 8ull << 30, 0, 3, 8ull << 30}}, "Discrete", "8192MB"},
      {{stored, discrete}, "Stored", "12288MB"},
      {{integrated}, "Integrated", "128MB"},
      {{{kAdapterMethods, L"Shared Only", 0, 0, 5, 0}}, "Shared Only", "false"},
      {{software}, "First Card", "false"},
  };
  factory_fails = false;
  listed_devices = &devices;
  for (const auto& row : exact) {
    staged_adapters = row.adapters;
    EXPECT_EQ(copy.call("GPU", "") + " " + copy.call("GPU", "MEMORY"), row.card + " " + row.memory);
    EXPECT_EQ(references + kernel_adapters_open, 0) << row.card;
  }
  RegDeleteKeyA(HKEY_LOCAL_MACHINE, driver_key);
}

TEST(GermanLocale, MemoryWritesACommaAndNeverGroupsThousands) {
  if (thread_decimal_separator() != ',') GTEST_SKIP() << "needs a locale whose separator is ','";
  {
    ImportPatch patch(toolcase_module(), "KERNEL32.dll", "GlobalMemoryStatusEx",
                      as_farproc(&fake_global_memory_status));
    fake = {};
    fake.memory = chosen_memory();
    EXPECT_EQ(call("Memory", "total"), "120563,270507813KB");
    EXPECT_EQ(call("Memory", "available"), "4194303,99902344KB");
    EXPECT_EQ(call("Memory", "pfileavailable"), "0,0009765625KB");
    EXPECT_EQ(call("Memory", "vmemoryavailable"), "1000000KB");
    EXPECT_EQ(call("Memory", "used"), "37%");
  }
  const MEMORYSTATUSEX status = platform_memory();
  EXPECT_EQ(call("Memory", "total"),
            std::string(sysinfo::kilobytes_text(status.ullTotalPhys, ',')) + "KB");
  for (const char* keyword : kByteCountKeywords) {
    const std::string answer = call("Memory", keyword);
    EXPECT_EQ(answer.find('.'), std::string::npos) << keyword << ": " << answer;
  }
}

// Wine's copy of the firmware's table, whatever it holds: names or false.
TEST(Board, AnswersTheFirmwaresNamesOrFalse) {
  for (const char* part : {"", "board", "SYSTEM", "bios"}) {
    const std::string names = call("Board", part);
    EXPECT_TRUE(names == "false" || (!names.empty() && names.front() != ' ' && names.back() != ' ')) << part << names;
  }
  EXPECT_EQ(call("Board", "chassis"), "error");
}

// Windows' sound devices as a test stages them: the active playback devices
// in Windows' order, the default one among them, a recording device; every
// object the library is given is counted, and must be released by the time
// the call returns.
struct StagedDevice {
  std::wstring id, name, card;  // an empty name or card: no such property
  DWORD state = DEVICE_STATE_ACTIVE;
};
struct AudioStage {
  std::vector<StagedDevice> outputs;
  int default_output;  // -1: none
  std::vector<StagedDevice> inputs;
} audio;
int audio_objects = 0;

template <typename Interface>
struct Staged : Interface {
  ULONG references = 1;
  Staged() { ++audio_objects; }
  virtual ~Staged() { --audio_objects; }
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID, void** out) override { return *out = nullptr, E_NOINTERFACE; }
  ULONG STDMETHODCALLTYPE AddRef() override { return ++references; }
  ULONG STDMETHODCALLTYPE Release() override {
    const ULONG left = --references;
    if (left == 0) delete this;
    return left;
  }
};
LPWSTR task_copy(const std::wstring& text) {
  auto* copy = static_cast<LPWSTR>(CoTaskMemAlloc((text.size() + 1) * sizeof(wchar_t)));
  return std::wcscpy(copy, text.c_str());
}
struct StagedStore final : Staged<IPropertyStore> {
  StagedDevice device;
  explicit StagedStore(StagedDevice of) : device(std::move(of)) {}
  HRESULT STDMETHODCALLTYPE GetCount(DWORD*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetAt(DWORD, PROPERTYKEY*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetValue(REFPROPERTYKEY key, PROPVARIANT* value) override {
    const std::wstring& text = key.pid == 14 ? device.name : device.card;  // FriendlyName, else the interface's
    PropVariantInit(value);
    if (!text.empty()) value->vt = VT_LPWSTR, value->pwszVal = task_copy(text);
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE SetValue(REFPROPERTYKEY, REFPROPVARIANT) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE Commit() override { return E_NOTIMPL; }
};
struct StagedEndpoint final : Staged<IMMDevice> {
  StagedDevice device;
  explicit StagedEndpoint(StagedDevice of) : device(std::move(of)) {}
  HRESULT STDMETHODCALLTYPE Activate(REFIID, DWORD, PROPVARIANT*, void**) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE OpenPropertyStore(DWORD, IPropertyStore** store) override { return *store = new StagedStore(device), S_OK; }
  HRESULT STDMETHODCALLTYPE GetId(LPWSTR* id) override { return *id = task_copy(device.id), S_OK; }
  HRESULT STDMETHODCALLTYPE GetState(DWORD* state) override { return *state = DEVICE_STATE_ACTIVE, S_OK; }
};
struct StagedList final : Staged<IMMDeviceCollection> {
  std::vector<StagedDevice> listed;  // those in the states asked for
  explicit StagedList(DWORD states) {
    std::copy_if(audio.outputs.begin(), audio.outputs.end(), std::back_inserter(listed), [&](auto& d) { return (d.state & states) != 0; });
  }
  HRESULT STDMETHODCALLTYPE GetCount(UINT* count) override { return *count = static_cast<UINT>(listed.size()), S_OK; }
  HRESULT STDMETHODCALLTYPE Item(UINT i, IMMDevice** out) override { return *out = new StagedEndpoint(listed.at(i)), S_OK; }
};
struct StagedEnumerator final : Staged<IMMDeviceEnumerator> {
  HRESULT STDMETHODCALLTYPE EnumAudioEndpoints(EDataFlow, DWORD states, IMMDeviceCollection** list) override {
    return *list = new StagedList(states), S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetDefaultAudioEndpoint(EDataFlow flow, ERole, IMMDevice** out) override {
    const bool none = flow == eRender ? audio.default_output < 0 : audio.inputs.empty();
    if (none) return *out = nullptr, E_NOTFOUND;
    return *out = new StagedEndpoint(flow == eRender ? audio.outputs.at(audio.default_output) : audio.inputs.front()), S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetDevice(LPCWSTR, IMMDevice**) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE RegisterEndpointNotificationCallback(IMMNotificationClient*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE UnregisterEndpointNotificationCallback(IMMNotificationClient*) override { return E_NOTIMPL; }
};
HRESULT WINAPI staged_enumerator(REFCLSID, LPUNKNOWN, DWORD, REFIID, LPVOID* out) {
  return *out = static_cast<IMMDeviceEnumerator*>(new StagedEnumerator), S_OK;
}

TEST(Audio, NamesTheSoundDevicesAsWindowsSoundSettingsDo) {
  const std::string real = call("Audio", "count");  // Wine's own: maybe none
  EXPECT_TRUE(real.find_first_not_of("0123456789") == std::string::npos && !real.empty()) << real;
  const FreshToolcase copy;
  const StagedLookup devices(copy.module(), {{"CoCreateInstance", as_farproc(&staged_enumerator)}});
  const StagedDevice speakers{L"{0}.1", L"Speakers (Realtek(R) Audio)", L"Realtek(R) Audio"},
      headphones{L"{0}.2", L"Kopfh\u00F6rer (USB)", L""}, hdmi{L"{0}.3", L"", L"NVIDIA"},
      disabled{L"{0}.4", L"Line Out", L"Realtek(R) Audio", DEVICE_STATE_DISABLED};
  const struct {
    AudioStage stage;
    std::vector<std::pair<const char*, std::string>> answers;
  } rows[] = {
      {{{speakers, disabled, headphones, hdmi}, 2, {{L"{1}.1", L"Microphone (USB Audio Device)", L"USB"}}},
       {{"", "Kopfh\xC3\xB6rer (USB)"}, {"OUTPUT", "Kopfh\xC3\xB6rer (USB)"}, {"input", "Microphone (USB Audio Device)"},
        {"card", "false"}, {"count", "3"}, {"1", "Kopfh\xC3\xB6rer (USB)"}, {"2", "Speakers (Realtek(R) Audio)"},
        {"3", "false"}, {"4", "error"}, {"0", "error"}, {"02", "error"}, {"+2", "error"}, {"volume", "error"}}},
      {{{speakers, hdmi}, -1, {}}, {{"", "false"}, {"input", "false"}, {"card", "false"}, {"1", "Speakers (Realtek(R) Audio)"}}},
      {{{speakers}, 0, {}}, {{"card", "Realtek(R) Audio"}}},
      {{{}, -1, {}}, {{"count", "0"}, {"1", "error"}, {"", "false"}}},
  };
  const TestWindow unicode_host(L"toolcase-audio-host", L"", false);
  for (const auto& row : rows) {
    audio = row.stage;
    for (const auto& [input, answer] : row.answers) {
      EXPECT_EQ(copy.call("Audio", input, unicode_host.handle()), answer) << input;
      EXPECT_EQ(audio_objects, 0) << input;
    }
  }
  // A thread whose apartment the host set up keeps it; one without COM has none after the call.
  std::thread([&] {
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    EXPECT_EQ(copy.call("Audio", "count"), "0");
    APTTYPE type{};
    APTTYPEQUALIFIER qualifier{};
    EXPECT_TRUE(SUCCEEDED(CoGetApartmentType(&type, &qualifier)) && (type == APTTYPE_MAINSTA || type == APTTYPE_STA));
    CoUninitialize();
    EXPECT_EQ(copy.call("Audio", ""), "false");
    EXPECT_EQ(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED), S_OK);
    CoUninitialize();
  }).join();
}
