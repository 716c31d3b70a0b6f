// Notification: a message box that reports the button pressed, and the
// platform's alert sounds.
#include <optional>

#include "host/box_owner.h"
#include "host/command.h"
#include "host/module_strings.h"
#include "host/text.h"
#include "host/wide_text.h"
#include "notify/notify_text.h"

using namespace toolcase;

static_assert(notify::kButtonsOk == MB_OK &&
              notify::kButtonsAbortRetryIgnore == MB_ABORTRETRYIGNORE &&
              notify::kButtonsYesNoCancel == MB_YESNOCANCEL && notify::kButtonsYesNo == MB_YESNO);
static_assert(notify::kIconError == MB_ICONERROR && notify::kIconQuestion == MB_ICONQUESTION &&
              notify::kIconWarning == MB_ICONWARNING &&
              notify::kIconInformation == MB_ICONINFORMATION);
static_assert(notify::kSoundDefault == MB_OK && notify::kSoundHand == MB_ICONHAND &&
              notify::kSoundExclamation == MB_ICONEXCLAMATION &&
              notify::kSoundAsterisk == MB_ICONASTERISK);
static_assert(IDOK == 1 && IDCANCEL == 2 && IDABORT == 3 && IDRETRY == 4 && IDIGNORE == 5 &&
              IDYES == 6 && IDNO == 7);

TOOLCASE_COMMAND(MessageDialog) {
  return run_text_command(data, main_window, [&](const Text& input, TextEncoding encoding) {
    Text working = input;
    const std::optional<notify::DialogRequest> request = notify::read_dialog_line(working);
    // What was left uncut stays behind; it is already stored when the box
    // opens, and nothing reads it while the box is up.
    ScratchText.assign(working);
    // A host in a critical routine must not be paused by a box.
    if (!request || no_pause != FALSE) return kError;
    // Modal to the owner only: the style carries no other flag.
    const BoxOwner owner = box_owner(main_window);
    const UINT style = request->style | owner.extra_style;
    const int pressed =
        encoding == TextEncoding::utf8
            ? MessageBoxW(owner.window, WideText(request->message).c_str(),
                          WideText(request->caption).c_str(), style)
            : MessageBoxA(owner.window, request->message.c_str(), request->caption.c_str(),
                          style);
    return notify::button_answer(pressed);
  });
}

TOOLCASE_COMMAND(BeepCommand) {
  return run_command(data, [](const Text& input) {
    const Text lowered = text::to_lower_ascii(input);
    ScratchText.assign(lowered);
    const std::optional<unsigned> sound = notify::sound_type(lowered);
    if (!sound) return kError;
    // Only exactly 1 counts as played.
    return true_or_false(MessageBeep(*sound) == 1);
  });
}
