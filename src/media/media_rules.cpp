#include "media/media_rules.h"

#include "host/frame.h"
#include "host/text.h"

namespace toolcase::media {

MediaRequest parse_media_request(std::string_view input) noexcept {
  struct Keyword {
    std::string_view word;
    MediaRequest request;
  };
  constexpr Keyword kKeywords[] = {
      {"", MediaRequest::line},           {"title", MediaRequest::title},
      {"artist", MediaRequest::artist},   {"album", MediaRequest::album},
      {"player", MediaRequest::player},   {"status", MediaRequest::status},
      {"toggle", MediaRequest::toggle},   {"next", MediaRequest::next},
      {"previous", MediaRequest::previous}, {"stop", MediaRequest::stop},
  };
  for (const Keyword& keyword : kKeywords) {
    if (text::keyword_match(input, keyword.word)) return keyword.request;
  }
  return MediaRequest::invalid;
}

bool is_media_key(MediaRequest request) noexcept {
  return request == MediaRequest::toggle || request == MediaRequest::next ||
         request == MediaRequest::previous || request == MediaRequest::stop;
}

PlayState session_state(int playback_status, std::optional<PlayState> before) noexcept {
  enum : int { kClosed = 0, kChanging = 2, kPlaying = 4, kPaused = 5 };
  switch (playback_status) {
    case kClosed: return PlayState::none;
    case kChanging: return before.value_or(PlayState::paused);
    case kPlaying: return PlayState::playing;
    case kPaused: return PlayState::paused;
    default: return PlayState::stopped;
  }
}

PlayState classic_state(long long answer) noexcept {
  if (answer == 1) return PlayState::playing;
  return answer == 3 ? PlayState::paused : PlayState::stopped;
}

std::size_t chosen_source(std::span<const PlayState> sources) noexcept {
  for (const PlayState wanted : {PlayState::playing, PlayState::paused, PlayState::stopped}) {
    for (std::size_t i = 0; i < sources.size(); ++i) {
      if (sources[i] == wanted) return i;
    }
  }
  return sources.size();
}

std::string_view status_word(PlayState state) noexcept {
  switch (state) {
    case PlayState::playing: return "playing";
    case PlayState::paused: return "paused";
    case PlayState::stopped: return "stopped";
    case PlayState::none: break;
  }
  return kFalse;
}

}  // namespace toolcase::media
