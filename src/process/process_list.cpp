#include "process/process_list.h"

#include <array>
#include <span>

#include "host/late_bound.h"
#include "host/unique_handle.h"
#include "host/wide_text.h"
#include "process/load_time_locale.h"
#include "process/process_names.h"
#include "process/toolhelp.h"

namespace toolcase::process {

namespace {

// The single-byte process entry: 296 bytes, 304 on x64, where its default
// heap id is pointer-sized (and aligned to 8).
static_assert(sizeof(PROCESSENTRY32) == (sizeof(void*) == 8 ? 304 : 296));

// Windows XP's headers lack it; Vista grants it where it refuses the full right.
constexpr DWORD kQueryLimitedInformation = 0x1000;  // PROCESS_QUERY_LIMITED_INFORMATION

using QueryImageName = BOOL(WINAPI*)(HANDLE, DWORD, LPWSTR, PDWORD);
LateBound query_image_name(SystemModule::kernel32, "QueryFullProcessImageNameW");

}  // namespace

void for_each_process(TextEncoding encoding, FunctionRef<void(DWORD, std::string_view)> on_process) {
  if (encoding == TextEncoding::utf8) {
    walk_process_list<PROCESSENTRY32W>([&](const PROCESSENTRY32W& entry) {
      on_process(entry.th32ProcessID, text_from_wide(entry.szExeFile));
    });
    return;
  }
  walk_process_list<PROCESSENTRY32>([&](const PROCESSENTRY32& entry) {
    on_process(entry.th32ProcessID, executable_name(std::span<const char>(entry.szExeFile)));
  });
}

void for_each_match(std::string_view name_under_test, TextEncoding encoding,
                    FunctionRef<void(DWORD, std::string_view)> on_match) {
  const NameEncoding& names = name_encoding(encoding);
  for_each_process(encoding, [&](DWORD process_id, std::string_view name) {
    if (name_matches(name, name_under_test, names)) on_match(process_id, name);
  });
}

bool is_running(DWORD process_id, TextEncoding encoding, Text* name) {
  bool listed = false;
  for_each_process(encoding, [&](DWORD listed_id, std::string_view listed_name) {
    if (listed || listed_id != process_id) return;
    listed = true;
    if (name != nullptr) name->assign(file_name_part(listed_name, name_encoding(encoding)));
  });
  if (!listed) return false;
  // A process that has ended is gone once the last handle to it is closed;
  // one that cannot be opened is taken at the list's word.
  const unique_process process(OpenProcess(SYNCHRONIZE, FALSE, process_id));
  return !process || WaitForSingleObject(process.get(), 0) == WAIT_TIMEOUT;
}

bool image_path(DWORD process_id, TextEncoding encoding, Text& path) {
  const auto query = query_image_name.as<QueryImageName>();
  if (query == nullptr) return false;
  const unique_process process(OpenProcess(kQueryLimitedInformation, FALSE, process_id));
  if (!process) return false;
  std::array<wchar_t, kDataBufferSize> units{};
  auto size = static_cast<DWORD>(units.size());
  // A path longer than an answer holds fails here rather than being cut.
  if (!query(process.get(), 0, units.data(), &size) || size == 0) return false;
  path = text_in_encoding(std::wstring_view(units.data(), size), encoding);
  return true;
}

}  // namespace toolcase::process
