// The latest reading of what plays, made about once a second on a thread of
// the library's own: a session of Windows, or the classic player's window,
// can keep a caller waiting, and the host's thread carries its connections.
#pragma once

#include <windows.h>

#include <array>
#include <cstdint>
#include <optional>
#include <string_view>

#include "host/frame.h"
#include "media/media_rules.h"

namespace toolcase::media {

// A text a source gave, at most as long as an answer: cut never inside a
// surrogate pair, line breaks blanked.
class Field {
 public:
  void assign(std::wstring_view text) noexcept;
  std::wstring_view view() const noexcept { return {units_.data(), size_}; }

 private:
  std::array<wchar_t, kDataBufferSize - 1> units_{};
  std::size_t size_ = 0;
};

struct Reading {
  PlayState state;
  Field title, artist, album, player;
  bool from_session;  // the source is one of Windows' media sessions
};

// Room for "artist - title".
using WideAnswer = std::array<wchar_t, 2 * (kDataBufferSize - 1) + 3>;

// For a command: the state of the latest reading under 2 seconds old, and
// text, the requested text, copied into answer. Keeps the reader running,
// and starts it when none runs, waiting at most a quarter second for its
// first reading when it may wait; none when that did not come, or when a
// running reader has no recent reading.
PlayState recent_reading(MediaRequest request, WideAnswer& answer, std::wstring_view& text,
                         bool may_wait) noexcept;

// For a watch's tick: keeps the reader running, and gives the latest
// reading under 2 seconds old: its number (a new reading has a new one), its
// state and its line, "artist - title", copied into line. False when there
// is none; never waits.
bool latest_reading(std::uint32_t& number, PlayState& state, WideAnswer& line,
                    std::wstring_view& text) noexcept;

// When the latest reading under 2 seconds old names a session as the
// source: the key's own request to that session, made on the reader's
// thread; true when the session answered true within a quarter second (it
// may still act on a request it answered later). Empty otherwise, for the
// key to go out as a keyboard's.
std::optional<bool> press_session_key(MediaRequest key) noexcept;

// Tells the reader to stop and cancel what it waits for, and waits for it at
// most half a second; one still inside a platform call ends later, and its
// reference keeps the library mapped.
void stop_reader() noexcept;

// For the reader's own calls: whether the reader of this generation is to go on.
bool reader_goes_on(std::uint32_t generation) noexcept;

}  // namespace toolcase::media
