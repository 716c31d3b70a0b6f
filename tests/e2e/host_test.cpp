// The DLL as the host sees it: its exports, its calling convention, its
// version record and the information command.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "host/info_text.h"
#include "host/module_strings.h"
#include "linked_commands.h"
#include "message_box_watcher.h"
#include "test_window.h"
#include "toolcase_dll.h"

using namespace toolcase;
using namespace toolcase::e2e;

namespace {

// The empty text names a window too (the first untitled one) and ScreenSaver
// acts whatever it is given: these commands get inputs that can match nothing.
bool acts_on_any_input(const std::string& name) {
  return name.rfind("Window", 0) == 0 || name == "ChangeWindowText" || name == "ScreenSaver";
}

std::vector<std::string> harmless_inputs(const std::string& name) {
  if (name == "ScreenSaver") return {};
  // The window part is the text before the first ";": without one it is empty.
  if (name == "ChangeWindowText") {
    const std::string window = unique_name("no such window");
    return {window + ";caption", window + ";" + std::string(899 - window.size() - 1, 'q')};
  }
  if (acts_on_any_input(name)) return {unique_name("no such window"), std::string(899, 'q')};
  return {"", "no such keyword", std::string(899, 'q')};
}

// IMAGE_NT_HEADERS has the bitness of this program, as has the DLL beside it:
// the 64-bit headers place their data directories further on.
const IMAGE_EXPORT_DIRECTORY* export_directory(HMODULE module) {
  auto* base = reinterpret_cast<const BYTE*>(module);
  auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(base);
  auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
  const DWORD rva = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_EXPORT].VirtualAddress;
  return reinterpret_cast<const IMAGE_EXPORT_DIRECTORY*>(base + rva);
}

}  // namespace

TEST(Exports, AreTheCommandsAtTheirOrdinals) {
  const HMODULE module = toolcase_module();
  ASSERT_NE(module, nullptr);
  const IMAGE_EXPORT_DIRECTORY* directory = export_directory(module);
  const auto* base = reinterpret_cast<const char*>(module);
  EXPECT_STREQ(base + directory->Name, "toolcase.dll");
  EXPECT_EQ(directory->Base, 1u);
  // mIRC's LoadDll (45) and UnloadDll (38) among them.
  EXPECT_EQ(directory->NumberOfFunctions, std::max(all_commands().back().ordinal, 45u));
  EXPECT_EQ(directory->NumberOfNames, all_commands().size() + 2);
  EXPECT_EQ(GetProcAddress(module, "UnloadDll"), GetProcAddress(module, MAKEINTRESOURCEA(38)));
  EXPECT_EQ(GetProcAddress(module, "LoadDll"), GetProcAddress(module, MAKEINTRESOURCEA(45)));
  for (const auto& [name, ordinal] : all_commands()) {
    const FARPROC by_name = GetProcAddress(module, name.c_str());
    const FARPROC by_ordinal = GetProcAddress(module, MAKEINTRESOURCEA(ordinal));
    EXPECT_NE(by_name, nullptr) << name;
    EXPECT_EQ(by_name, by_ordinal) << name << " is not at ordinal " << ordinal;
  }
}

// On x64 the 24 bytes are not measured (see host::kCalleeRemovesArguments).
TEST(CallingConvention, EveryCommandReturns3AndRemoves24Bytes) {
  for (const auto& [name, ordinal] : all_commands()) {
    SCOPED_TRACE(name);
    for (const std::string& input : harmless_inputs(name)) call(name.c_str(), input);
  }
}

TEST(CallingConvention, ANullDataBufferIsReadAsEmptyWithoutCrashing) {
  for (const auto& [name, ordinal] : all_commands()) {
    if (acts_on_any_input(name)) continue;
    int removed = 0;
    char parameters[900] = {};
    const int result = host::call_command(command(name.c_str()), nullptr, nullptr, nullptr,
                                          parameters, FALSE, FALSE, removed);
    EXPECT_EQ(result, 3) << name;
    EXPECT_TRUE(host::arguments_removed_as_host_expects(removed))
        << name << " removed " << removed << " bytes";
  }
}

namespace {

// The return addresses on the stack while a command had a window procedure of
// the test's own read a caption.
std::vector<void*> frames_seen;

LRESULT CALLBACK stack_recording_proc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  if (message == WM_GETTEXT) {
    void* frames[62] = {};
    frames_seen.assign(frames, frames + RtlCaptureStackBackTrace(0, 62, frames, nullptr));
  }
  return DefWindowProcA(window, message, wparam, lparam);
}

HMODULE module_of(const void* address) {
  HMODULE module = nullptr;
  if (address == nullptr) return module;  // Wine would name the program
  GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS |
                         GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                     static_cast<const char*>(address), &module);
  return module;
}

}  // namespace

// x64 only. There the system steps over a function's frame by the unwind data
// its module carries, to walk a stack or to dispatch an exception (from a
// host's window procedure that runs inside a command, say), and takes a
// function without any for a leaf. 32-bit code needs no such data.
TEST(CallingConvention, OnX64AStackWalkFromAWindowProcedurePassesThroughTheCommand) {
  if (sizeof(void*) != 8) GTEST_SKIP() << "x64 only";
  TestWindow window(unique_name("toolcase-unwind"), "walked", false, stack_recording_proc);
  frames_seen.clear();
  EXPECT_EQ(call("WindowText", window.class_name()), "walked");
  const auto in_dll = [](void* frame) { return module_of(frame) == toolcase_module(); };
  const auto first_in_dll = std::find_if(frames_seen.begin(), frames_seen.end(), in_dll);
  ASSERT_NE(first_in_dll, frames_seen.end()) << "no frame of toolcase.dll in the walk";
  // Right behind the command's frames: the host's frame that called it.
  const auto behind = std::find_if_not(first_in_dll, frames_seen.end(), in_dll);
  ASSERT_NE(behind, frames_seen.end()) << "the walk ended in the command";
  EXPECT_EQ(module_of(*behind), GetModuleHandleA(nullptr))
      << "the walk went astray from the command's frame to " << *behind;
}

TEST(VersionRecord, SaysWrenchbox1002) {
  char path[MAX_PATH] = {};
  GetModuleFileNameA(toolcase_module(), path, MAX_PATH);
  DWORD ignored = 0;
  const DWORD size = GetFileVersionInfoSizeA(path, &ignored);
  ASSERT_GT(size, 0u);
  std::vector<char> record(size);
  ASSERT_TRUE(GetFileVersionInfoA(path, 0, size, record.data()));

  VS_FIXEDFILEINFO* fixed = nullptr;
  UINT length = 0;
  ASSERT_TRUE(VerQueryValueA(record.data(), "\\", reinterpret_cast<void**>(&fixed), &length));
  EXPECT_EQ(fixed->dwFileVersionMS, MAKELONG(0, 1));
  EXPECT_EQ(fixed->dwFileVersionLS, MAKELONG(2, 0));
  EXPECT_EQ(fixed->dwProductVersionMS, MAKELONG(0, 1));
  EXPECT_EQ(fixed->dwProductVersionLS, MAKELONG(2, 0));
  EXPECT_EQ(fixed->dwFileType, static_cast<DWORD>(VFT_APP));

  WORD* translation = nullptr;
  ASSERT_TRUE(VerQueryValueA(record.data(), "\\VarFileInfo\\Translation",
                             reinterpret_cast<void**>(&translation), &length));
  EXPECT_EQ(translation[0], 0x0409);
  EXPECT_EQ(translation[1], 0x04E4);

  auto string_value = [&](const char* name) {
    char* value = nullptr;
    const std::string key = std::string("\\StringFileInfo\\040904E4\\") + name;
    return VerQueryValueA(record.data(), key.c_str(), reinterpret_cast<void**>(&value), &length)
               ? std::string(value)
               : std::string("<missing>");
  };
  EXPECT_EQ(string_value("ProductName"), "Wrenchbox");
  EXPECT_EQ(string_value("FileVersion"), "1.0.0.2");
  EXPECT_EQ(string_value("ProductVersion"), "1.0.0.2");
  EXPECT_EQ(string_value("OriginalFilename"), "toolcase.dll");
}

TEST(DLLInfo, AnswersTheShortTextForAnythingButMsg) {
  for (const char* input : {"", "msg ", " msg", "msgs", "info", "MSG\t"}) {
    EXPECT_EQ(call("DLLInfo", input), kShortInfoText) << '"' << input << '"';
  }
  EXPECT_EQ(std::string(kShortInfoText).find_first_of("\r\n"), std::string::npos);
}

TEST(DLLInfo, MsgInAnyCaseShowsTheInformationBoxOwnedByTheMainWindow) {
  TestWindow host(unique_name("toolcase-host"), unique_name("toolcase host window"), true);
  for (const char* input : {"msg", "MSG", "mSg"}) {
    SCOPED_TRACE(input);
    std::string answer;
    SeenBox box;
    // Once in CI, Wine ended the process's first box before showing it, under
    // heavy load: a box that never came up is asked for once more.
    for (int attempt = 0; attempt < 2 && !box.found; ++attempt) {
      MessageBoxWatcher watcher("Wrenchbox v1.0", IDOK);
      answer = call("DLLInfo", input, host.handle());
      box = watcher.result();
    }
    EXPECT_EQ(answer, "true");
    ASSERT_TRUE(box.found);
    EXPECT_EQ(box.owner, host.handle());
    EXPECT_EQ(box.text, kFullInfoText);
    EXPECT_EQ(box.button_ids, std::vector<int>{IDOK});
    EXPECT_EQ(box.icon, LoadIconA(nullptr, IDI_INFORMATION));
  }
}

TEST(DLLInfo, FullTextSeparatesItsLinesByABareCarriageReturn) {
  const std::string text = kFullInfoText;
  EXPECT_EQ(text.find('\n'), std::string::npos);
  EXPECT_EQ(text.rfind("Name: Wrenchbox\rType: mIRC DLL\rVersion: 1.0.0.1\rAuthor: ", 0), 0u);
  std::vector<std::string> lines;
  std::size_t start = 0;
  for (std::size_t cr; (cr = text.find('\r', start)) != std::string::npos; start = cr + 1) {
    lines.push_back(text.substr(start, cr - start));
  }
  lines.push_back(text.substr(start));
  ASSERT_EQ(lines.size(), 9u);
  EXPECT_EQ(lines[4], "");
  EXPECT_EQ(lines[6].front(), ' ');
  EXPECT_EQ(lines[6].back(), ' ');
  EXPECT_EQ(lines[7], "");
  EXPECT_EQ(lines[8].front(), ' ');
}

TEST(DLLInfo, AnswersErrorWhenTheBoxCannotBeShown) {
  // A window handle that names no window: the platform refuses the box.
  const HWND no_window = reinterpret_cast<HWND>(0x7FFFFFF0);
  MessageBoxWatcher watcher("Wrenchbox v1.0", IDOK, 1500);
  EXPECT_EQ(call("DLLInfo", "msg", no_window), "error");
  EXPECT_FALSE(watcher.result().found);
}

TEST(ModuleStrings, ProductCaptionHoldsItsConstantFromTheStart) {
  EXPECT_EQ(ProductCaption.value(), "Wrenchbox v1.0");
  EXPECT_EQ(call_linked(&DLLInfo, ""), kShortInfoText);
}

TEST(ModuleStrings, EachCommandWritesOnlyItsOwn) {
  const std::string window = unique_name("no such window");
  EXPECT_EQ(call_linked(&ChangeWindowText, window + "; New Caption"), "error");
  EXPECT_EQ(call_linked(&BeepCommand, "WaRnInG"), "true");
  EXPECT_EQ(CaptionTarget.value(), window);
  EXPECT_EQ(CaptionText.value(), "New Caption");
  EXPECT_EQ(ScratchText.value(), "warning");
}
