#include "process/load_time_locale.h"

#include <windows.h>

#include <algorithm>

namespace toolcase::process {

namespace {

// Double-byte rules hold for the East Asian languages, Chinese, Japanese and
// Korean, whose ANSI code pages (936, 950, 932, 949) are the double-byte ones.
// Any other language reads every '\' and ':' as a separator.
bool is_east_asian(LANGID language) {
  const WORD primary = PRIMARYLANGID(language);
  return primary == LANG_CHINESE || primary == LANG_JAPANESE || primary == LANG_KOREAN;
}

LoadTimeLocale read_loading_thread_locale() {
  LoadTimeLocale facts;
  const LCID locale = GetThreadLocale();
  DWORD code_page = 0;
  if (GetLocaleInfoA(locale, LOCALE_IDEFAULTANSICODEPAGE | LOCALE_RETURN_NUMBER,
                     reinterpret_cast<LPSTR>(&code_page), sizeof code_page / sizeof(CHAR)) > 0) {
    facts.ansi_code_page = code_page;
  }
  // Code page 0 would ask for the system's code page: a locale that names no
  // ANSI code page has no lead bytes.
  CPINFO info{};
  if (facts.ansi_code_page != 0 && GetCPInfo(facts.ansi_code_page, &info)) {
    facts.name_encoding.lead_bytes = lead_byte_table(info.LeadByte);
  }
  const LeadByteTable& lead_bytes = facts.name_encoding.lead_bytes;
  const bool double_byte = std::find(lead_bytes.begin(), lead_bytes.end(), true) != lead_bytes.end();
  facts.name_encoding.double_byte_rules = double_byte && is_east_asian(LANGIDFROMLCID(locale));
  return facts;
}

// Initialised while the library loads, on the loading thread.
const LoadTimeLocale kLoadTimeLocale = read_loading_thread_locale();

}  // namespace

const LoadTimeLocale& load_time_locale() { return kLoadTimeLocale; }

}  // namespace toolcase::process
