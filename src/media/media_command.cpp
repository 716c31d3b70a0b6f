// Media: what the player plays (its title, artist, album, status and name),
// read from Windows' media sessions or the classic player's window, and the
// media keys.
#include "host/command.h"
#include "host/wide_text.h"
#include "media/media_reader.h"

using namespace toolcase;
using namespace toolcase::media;

namespace {

// The key as a keyboard sends it, down and up in one call: true when Windows
// queued both. The player that gets it is the one Windows chooses.
bool press_media_key(MediaRequest key) {
  struct MediaKey {
    WORD virtual_key;
    WORD scan_code;
  };
  MediaKey pressed{VK_MEDIA_PLAY_PAUSE, 0x22};
  if (key == MediaRequest::next) pressed = {VK_MEDIA_NEXT_TRACK, 0x19};
  if (key == MediaRequest::previous) pressed = {VK_MEDIA_PREV_TRACK, 0x10};
  if (key == MediaRequest::stop) pressed = {VK_MEDIA_STOP, 0x24};
  INPUT inputs[2] = {};
  for (INPUT& input : inputs) {
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = pressed.virtual_key;
    input.ki.wScan = pressed.scan_code;
    input.ki.dwFlags = KEYEVENTF_EXTENDEDKEY;
  }
  inputs[1].ki.dwFlags |= KEYEVENTF_KEYUP;
  return SendInput(2, inputs, sizeof(INPUT)) == 2;
}

}  // namespace

// "" (artist - title), "title", "artist", "album", "player", "status";
// "toggle", "next", "previous", "stop".
// A call with no_pause set comes from a routine of mIRC's that must not be
// paused: it never waits.
TOOLCASE_COMMAND(Media) {
  return run_text_command(data, main_window, [no_pause](const Text& input, TextEncoding encoding) {
    const MediaRequest request = parse_media_request(input);
    if (request == MediaRequest::invalid) return Text(kError);
    // The player that Media names, when it is a session and the call may
    // wait; otherwise the key goes where Windows sends it.
    if (is_media_key(request)) {
      const std::optional<bool> pressed =
          no_pause == FALSE ? press_session_key(request) : std::optional<bool>();
      return Text(true_or_false(pressed ? *pressed : press_media_key(request)));
    }
    WideAnswer answer;
    std::wstring_view text;
    const PlayState state = recent_reading(request, answer, text, no_pause == FALSE);
    if (request == MediaRequest::status) return Text(status_word(state));
    if (state == PlayState::none || state == PlayState::stopped || text.empty()) return Text(kFalse);
    return text_in_encoding(text, encoding);
  });
}
