// The system media sessions (Windows.Media.Control, Windows 10 1809 and
// later) through the runtime's plain COM interfaces: combase.dll is loaded
// from the system folder, so the library imports nothing of it and still
// loads where it is missing. Used on the reader's thread only.
#pragma once

#include <windows.h>

#include <array>
#include <cstddef>
#include <cstdint>

#include "host/unique_handle.h"
#include "media/media_reader.h"

namespace toolcase::media {

// A Windows Runtime object: released through IUnknown's slot 2.
struct RuntimeObjectTraits {
  using pointer = void*;
  static pointer invalid() noexcept { return nullptr; }
  static void close(pointer object) noexcept;
};
using unique_runtime_object = UniqueHandle<RuntimeObjectTraits>;

class MediaSessions {
 public:
  // Loads combase.dll and initializes the runtime on this thread; without
  // either, there are no sessions.
  explicit MediaSessions(std::uint32_t generation) noexcept;
  // Releases the factory, uninitializes the runtime and frees combase.dll.
  ~MediaSessions();
  MediaSessions(const MediaSessions&) = delete;
  MediaSessions& operator=(const MediaSessions&) = delete;

  struct Session {
    unique_runtime_object object;
    PlayState state;  // none: no session
  };
  // Windows' current session, else among the others: the first that plays,
  // else the first paused, else the first there is. Every session's state is
  // read, and kept for the next reading by its application id: a session
  // changing tracks keeps the state it had.
  Session chosen_session() noexcept;
  // The media key's own request (TryTogglePlayPauseAsync, TrySkipNextAsync,
  // TrySkipPreviousAsync, TryStopAsync) to the chosen session: whether it
  // answered true within the deadline.
  bool press_key(MediaRequest key) noexcept;
  // The session's title, artist, album and application into reading.
  void read_fields(void* session, Reading& reading) noexcept;

 private:
  using HString = struct HStringHandle*;
  // Whether the operation completed within its deadline; one that fails,
  // or whose reader is told to stop, is cancelled.
  bool completed(void* operation) noexcept;
  // An operation's result once it completes within its deadline; null when
  // it fails or the reader is told to stop. Takes the operation over.
  void* await_result(void* operation) noexcept;
  // The same for an operation whose result is a boolean: false then.
  bool await_boolean(void* operation) noexcept;
  // A hash of the session's application id: sessions are told apart by it
  // from one reading to the next.
  std::uint64_t application_hash(void* session) noexcept;
  void* factory() noexcept;
  void read_string(void* object, int slot, Field& field) noexcept;

  std::uint32_t generation_;
  HMODULE combase_ = nullptr;
  bool initialized_ = false;
  void(WINAPI* uninitialize_)() = nullptr;
  HRESULT(WINAPI* get_activation_factory_)(HString, REFIID, void**) = nullptr;
  HRESULT(WINAPI* create_string_reference_)(const wchar_t*, UINT32, void*, HString*) = nullptr;
  const wchar_t*(WINAPI* string_buffer_)(HString, UINT32*) = nullptr;
  HRESULT(WINAPI* delete_string_)(HString) = nullptr;
  unique_runtime_object factory_;
  bool factory_asked_ = false;
  // The state resolved for each session at the last reading, by application.
  struct Resolved {
    std::uint64_t application;
    PlayState state;
  };
  std::array<Resolved, 64> resolved_{};
  std::size_t resolved_count_ = 0;
};

}  // namespace toolcase::media
