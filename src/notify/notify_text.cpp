#include "notify/notify_text.h"

#include <array>

#include "host/text.h"

namespace toolcase::notify {

namespace {

using Keyword = text::Keyword<unsigned>;

// Tested in this order; the first equal keyword decides.
constexpr std::array<Keyword, 4> kButtonKeywords{{
    {"yesno", kButtonsYesNo},
    {"abortretryignore", kButtonsAbortRetryIgnore},
    {"yesnocancel", kButtonsYesNoCancel},
    {"ok", kButtonsOk},
}};

constexpr std::array<Keyword, 4> kIconKeywords{{
    {"information", kIconInformation},
    {"error", kIconError},
    {"warning", kIconWarning},
    {"question", kIconQuestion},
}};

// There is no "question" sound.
constexpr std::array<Keyword, 4> kSoundKeywords{{
    {"information", kSoundAsterisk},
    {"warning", kSoundExclamation},
    {"error", kSoundHand},
    {"default", kSoundDefault},
}};

// Indexed by the platform's result, IDOK (1) to IDNO (7); 0 means no box.
constexpr std::array<std::string_view, 8> kButtonAnswers{
    "error", "ok", "cancel", "abort", "retry", "ignore", "yes", "no"};

constexpr std::size_t kShortestLine = 12;
constexpr std::size_t kShortestButtons = 2;
constexpr std::size_t kShortestIcon = 5;
constexpr std::size_t kShortestMessage = 2;

}  // namespace

Text cut_field(Text& working) noexcept {
  const int separator = text::find_position(working, ";");
  const Text field(text::copy_range(working, 1, separator - 1));
  text::delete_range(working, 1, separator);
  const std::size_t blanks = working.view().find_first_not_of(' ');
  working.erase(0, blanks == std::string_view::npos ? working.size() : blanks);
  return field;
}

std::optional<DialogRequest> read_dialog_line(Text& working) noexcept {
  if (working.size() < kShortestLine) return std::nullopt;
  const Text buttons = cut_field(working);
  if (buttons.size() < kShortestButtons) return std::nullopt;
  const Text icon = cut_field(working);
  if (icon.size() < kShortestIcon) return std::nullopt;

  DialogRequest request;
  request.caption = cut_field(working);
  // The message is all the rest, further ";" included; nothing is left.
  request.message = working;
  working.assign({});
  if (request.message.size() < kShortestMessage) return std::nullopt;

  const std::optional<unsigned> button_value = text::look_up(kButtonKeywords, buttons);
  if (!button_value) return std::nullopt;
  const std::optional<unsigned> icon_value = text::look_up(kIconKeywords, icon);
  if (!icon_value) return std::nullopt;
  request.style = *button_value + *icon_value;
  return request;
}

std::string_view button_answer(int pressed) noexcept {
  if (pressed < 1 || pressed >= static_cast<int>(kButtonAnswers.size())) return kButtonAnswers[0];
  return kButtonAnswers[static_cast<std::size_t>(pressed)];
}

std::optional<unsigned> sound_type(std::string_view input) noexcept {
  return text::look_up(kSoundKeywords, input);
}

}  // namespace toolcase::notify
