#include "host/box_owner.h"
#include "host/command.h"
#include "host/info_text.h"
#include "host/module_strings.h"
#include "host/text.h"

using namespace toolcase;

TOOLCASE_COMMAND(DLLInfo) {
  return run_command(data, [&](const Text& input) {
    if (!text::keyword_match(input, "msg")) return std::string_view(kShortInfoText);
    // A host in a critical routine must not be paused by a box.
    if (no_pause != FALSE) return kError;
    const Text caption = ProductCaption.value();
    const BoxOwner owner = box_owner(main_window);
    const int pressed = MessageBoxA(owner.window, kFullInfoText, caption.c_str(),
                                    MB_OK | MB_ICONINFORMATION | owner.extra_style);
    return pressed == IDOK ? kTrue : kError;
  });
}
