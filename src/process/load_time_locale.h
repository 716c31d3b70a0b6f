// The code page facts of the locale the library was loaded under, read once
// at load from the loading thread's locale. They decide how executable names
// split into folder and file name.
#pragma once

#include "host/frame.h"
#include "process/process_names.h"

namespace toolcase::process {

struct LoadTimeLocale {
  unsigned ansi_code_page = 0;  // 0 when the locale names none
  NameEncoding name_encoding;
};

const LoadTimeLocale& load_time_locale();

// How the names of a call are split and upper-cased. In a UTF-8 call the
// names are read wide and compared as UTF-8, where no byte of a character is
// ever '\', ':' or an ASCII letter.
inline const NameEncoding& name_encoding(TextEncoding encoding) {
  static constexpr NameEncoding kUtf8{};
  return encoding == TextEncoding::utf8 ? kUtf8 : load_time_locale().name_encoding;
}

}  // namespace toolcase::process
