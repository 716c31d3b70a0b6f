// The code page facts of the locale the library was loaded under, read once
// at load from the loading thread's locale. They decide how executable names
// split into folder and file name.
#pragma once

#include "process/process_names.h"

namespace toolcase::process {

struct LoadTimeLocale {
  unsigned ansi_code_page = 0;  // 0 when the locale names none
  NameEncoding name_encoding;
};

const LoadTimeLocale& load_time_locale();

}  // namespace toolcase::process
