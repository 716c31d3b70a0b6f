// The text rules of the notification commands: the dialog line
// "buttons;icon;caption;message", the answers for the button that closed a
// box, and the sound keywords. Values are the platform's own style and sound
// numbers; the commands check them against the Windows headers.
#pragma once

#include <optional>
#include <string_view>

#include "host/bounded_text.h"

namespace toolcase::notify {

inline constexpr unsigned kButtonsOk = 0x0;
inline constexpr unsigned kButtonsAbortRetryIgnore = 0x2;
inline constexpr unsigned kButtonsYesNoCancel = 0x3;
inline constexpr unsigned kButtonsYesNo = 0x4;

inline constexpr unsigned kIconError = 0x10;
inline constexpr unsigned kIconQuestion = 0x20;
inline constexpr unsigned kIconWarning = 0x30;
inline constexpr unsigned kIconInformation = 0x40;

inline constexpr unsigned kSoundDefault = 0x0;
inline constexpr unsigned kSoundHand = 0x10;
inline constexpr unsigned kSoundExclamation = 0x30;
inline constexpr unsigned kSoundAsterisk = 0x40;

// Takes the next field off the front of working: the bytes before the first
// ";" ("" when there is none, and then working keeps everything), deletes
// them and the ";", then removes the blanks (0x20 only) that lead the rest.
Text cut_field(Text& working) noexcept;

struct DialogRequest {
  unsigned style = 0;  // button value + icon value, nothing else
  Text caption;
  Text message;
};

// Reads a dialog line by cutting its fields off the front of working, which
// holds the whole line on entry. nullopt when the line is refused. Either way
// working is left holding what had not been cut when the answer was decided:
// the whole line when it is shorter than 12 bytes, the rest behind the last
// cut otherwise, and "" once the message field has been taken.
std::optional<DialogRequest> read_dialog_line(Text& working) noexcept;

// The answer for what a message box reported: the word of the button that
// closed it, "error" for 0 (no box) or anything else outside IDOK..IDNO.
std::string_view button_answer(int pressed) noexcept;

// The sound type of a sound keyword ("information", "warning", "error",
// "default"; whole and exact after ASCII lower-casing), nullopt for any other
// text.
std::optional<unsigned> sound_type(std::string_view input) noexcept;

}  // namespace toolcase::notify
