// The process list as the process commands read it: ids and executable names
// in the call's encoding, and what Windows tells of one process.
#pragma once

#include <windows.h>

#include <string_view>

#include "host/bounded_text.h"
#include "host/frame.h"
#include "host/function_ref.h"

namespace toolcase::process {

// Calls on_process(process id, executable name) for every process in a fresh
// list, in its order; the name in the call's encoding (single-byte entries in
// an ANSI call, wide ones in a UTF-8 call).
void for_each_process(TextEncoding encoding, FunctionRef<void(DWORD, std::string_view)> on_process);

// The same for every process whose executable name answers to the name under
// test (already upper-cased by upper_name in the call's encoding).
void for_each_match(std::string_view name_under_test, TextEncoding encoding,
                    FunctionRef<void(DWORD, std::string_view)> on_match);

// The process of that id runs: the list shows it and it has not ended. Its
// executable name goes to name when one is given.
bool is_running(DWORD process_id, TextEncoding encoding = TextEncoding::utf8, Text* name = nullptr);

// The full path of the process's program (QueryFullProcessImageNameW, looked
// up at run time); false before Vista and where Windows refuses.
bool image_path(DWORD process_id, TextEncoding encoding, Text& path);

}  // namespace toolcase::process
