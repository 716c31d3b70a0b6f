#include "host/command.h"
#include "host/info_text.h"
#include "host/module_strings.h"
#include "host/text.h"

using namespace toolcase;

TOOLCASE_COMMAND(DLLInfo) {
  return run_command(data, [&](const Text& input) {
    if (!text::keyword_match(input, "msg")) return std::string_view(kShortInfoText);
    const Text caption = ProductCaption.value();
    const int pressed = MessageBoxA(main_window, kFullInfoText, caption.c_str(),
                                    MB_OK | MB_ICONINFORMATION);
    return pressed == IDOK ? kTrue : kError;
  });
}
