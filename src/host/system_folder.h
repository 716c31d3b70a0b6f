// Files in Windows' system folder, named by their full path: a name alone is
// searched for in the host's folder and the current folder first, where
// anyone could have put a file of that name.
#pragma once

#include <windows.h>

#include <span>
#include <string_view>

namespace toolcase {

// The system folder, '\' and the name, NUL-terminated in path; false when
// that does not fit.
bool path_in_system_folder(std::wstring_view name, std::span<wchar_t> path) noexcept;

}  // namespace toolcase
