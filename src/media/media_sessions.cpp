#include "media/media_sessions.h"

#include <array>
#include <optional>
#include <utility>

#include "host/system_folder.h"

namespace toolcase::media {

namespace {

// Every slot is __stdcall; slots 0 to 2 are IUnknown's, 3 to 5 IInspectable's.
template <typename Result = HRESULT, typename... Arguments>
Result call(void* object, int slot, Arguments... arguments) {
  using Method = Result(__stdcall*)(void*, Arguments...);
  return (*static_cast<Method**>(object))[slot](object, arguments...);
}

constexpr int kQueryInterface = 0;
constexpr int kRelease = 2;
// Windows.Media.Control.GlobalSystemMediaTransportControlsSessionManager's statics.
constexpr wchar_t kManagerClass[] =
    L"Windows.Media.Control.GlobalSystemMediaTransportControlsSessionManager";
constexpr GUID kManagerStatics = {
    0x2050C4EE, 0x11A0, 0x57DE, {0xAE, 0xD7, 0xC9, 0x7C, 0x70, 0x33, 0x82, 0x45}};
constexpr int kRequestManager = 6;
constexpr int kCurrentSession = 6;
constexpr int kSessions = 7;
constexpr int kVectorAt = 6;
constexpr int kVectorSize = 7;
constexpr int kAppUserModelId = 6;
constexpr int kRequestProperties = 7;
constexpr int kPlaybackInfo = 9;
constexpr int kPlaybackStatus = 7;
constexpr int kTitle = 6;
constexpr int kArtist = 9;
constexpr int kAlbum = 10;
// A session's media keys, each an IAsyncOperation<boolean>.
constexpr int kStop = 12;
constexpr int kSkipNext = 16;
constexpr int kSkipPrevious = 17;
constexpr int kTogglePlayPause = 20;
// IAsyncInfo, which every operation has; its results come from slot 8 of
// the operation itself, whatever it returns.
constexpr GUID kAsyncInfo = {0x00000036, 0x0000, 0x0000, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};
constexpr int kAsyncStatus = 7;
constexpr int kCancel = 9;
constexpr int kResults = 8;
enum AsyncStatus : int { kStarted = 0, kCompleted = 1 };

constexpr DWORD kOperationDeadline = 2000;
constexpr DWORD kPollInterval = 5;
// A browser may publish a session per tab: enough to find the one that plays.
constexpr UINT32 kMostSessions = 64;

// The runtime's string header, which a reference string keeps on the stack.
struct StringHeader {
  union {
    void* reserved;
    char bytes[sizeof(void*) == 8 ? 24 : 20];
  };
};

template <typename Function>
void look_up(HMODULE module, const char* name, Function& function) {
  function = reinterpret_cast<Function>(reinterpret_cast<void (*)()>(GetProcAddress(module, name)));
}

}  // namespace

void RuntimeObjectTraits::close(pointer object) noexcept { call<ULONG>(object, kRelease); }

MediaSessions::MediaSessions(std::uint32_t generation) noexcept : generation_(generation) {
  std::array<wchar_t, MAX_PATH> path;
  if (!path_in_system_folder(L"combase.dll", path)) return;
  combase_ = LoadLibraryW(path.data());
  if (combase_ == nullptr) return;
  HRESULT(WINAPI * initialize)(int) = nullptr;
  look_up(combase_, "RoInitialize", initialize);
  look_up(combase_, "RoUninitialize", uninitialize_);
  look_up(combase_, "RoGetActivationFactory", get_activation_factory_);
  look_up(combase_, "WindowsCreateStringReference", create_string_reference_);
  look_up(combase_, "WindowsGetStringRawBuffer", string_buffer_);
  look_up(combase_, "WindowsDeleteString", delete_string_);
  constexpr int kMultithreaded = 1;
  initialized_ = initialize != nullptr && uninitialize_ != nullptr &&
                 get_activation_factory_ != nullptr && create_string_reference_ != nullptr &&
                 string_buffer_ != nullptr && delete_string_ != nullptr &&
                 SUCCEEDED(initialize(kMultithreaded));
}

MediaSessions::~MediaSessions() {
  factory_.reset();
  if (initialized_) uninitialize_();
  if (combase_ != nullptr) FreeLibrary(combase_);
}

void* MediaSessions::factory() noexcept {
  if (initialized_ && !std::exchange(factory_asked_, true)) {
    StringHeader header;
    HString class_name = nullptr;
    void* statics = nullptr;
    if (SUCCEEDED(create_string_reference_(kManagerClass, std::size(kManagerClass) - 1, &header,
                                           &class_name)) &&
        SUCCEEDED(get_activation_factory_(class_name, kManagerStatics, &statics))) {
      factory_.reset(statics);
    }
  }
  return factory_.get();
}

bool MediaSessions::completed(void* operation) noexcept {
  void* info = nullptr;
  if (operation == nullptr || FAILED(call(operation, kQueryInterface, &kAsyncInfo, &info))) return false;
  const unique_runtime_object async_info(info);
  const DWORD asked = GetTickCount();
  for (;;) {
    int status = kStarted;
    if (FAILED(call(info, kAsyncStatus, &status))) return false;
    if (status == kCompleted) return true;
    if (status != kStarted) return false;
    // Never closed nor asked for results before it completes: cancelled, then released.
    if (!reader_goes_on(generation_) || GetTickCount() - asked >= kOperationDeadline) {
      call(info, kCancel);
      return false;
    }
    Sleep(kPollInterval);
  }
}

void* MediaSessions::await_result(void* operation) noexcept {
  const unique_runtime_object owned(operation);
  void* result = nullptr;
  return completed(operation) && SUCCEEDED(call(operation, kResults, &result)) ? result : nullptr;
}

bool MediaSessions::await_boolean(void* operation) noexcept {
  const unique_runtime_object owned(operation);
  unsigned char result = 0;  // the runtime's boolean, one byte
  return completed(operation) && SUCCEEDED(call(operation, kResults, &result)) && result != 0;
}

std::uint64_t MediaSessions::application_hash(void* session) noexcept {
  HString text = nullptr;
  if (FAILED(call(session, kAppUserModelId, &text))) return 0;
  UINT32 length = 0;
  const wchar_t* units = string_buffer_(text, &length);
  // FNV-1a over the id's units.
  std::uint64_t hash = 0xCBF29CE484222325;
  for (UINT32 i = 0; units != nullptr && i < length; ++i) hash = (hash ^ units[i]) * 0x100000001B3;
  delete_string_(text);
  return hash;
}

MediaSessions::Session MediaSessions::chosen_session() noexcept {
  Session chosen{unique_runtime_object(), PlayState::none};
  void* statics = factory();
  void* operation = nullptr;
  if (statics == nullptr || FAILED(call(statics, kRequestManager, &operation))) return chosen;
  // Asked again for each reading: a manager can go stale.
  const unique_runtime_object manager(await_result(operation));
  if (!manager) return chosen;
  std::array<Resolved, 64> resolved{};
  std::size_t resolved_count = 0;
  // Resolves a session's state and takes it when it does better than the chosen one.
  const auto consider = [&](void* object) {
    unique_runtime_object session(object);
    if (!session) return;
    void* info = nullptr;
    int status = 0;
    if (SUCCEEDED(call(object, kPlaybackInfo, &info)) && info != nullptr) {
      const unique_runtime_object playback(info);
      call(info, kPlaybackStatus, &status);
    }
    const std::uint64_t application = application_hash(object);
    std::optional<PlayState> before;
    for (std::size_t i = 0; i < resolved_count_; ++i) {
      if (resolved_[i].application == application) before = resolved_[i].state;
    }
    const PlayState state = session_state(status, before);
    if (resolved_count < resolved.size()) resolved[resolved_count++] = {application, state};
    const PlayState states[] = {chosen.state, state};
    if (chosen_source(states) == 1) chosen = Session{std::move(session), state};
  };
  void* current = nullptr;
  if (SUCCEEDED(call(manager.get(), kCurrentSession, &current))) consider(current);
  void* list = nullptr;
  if (SUCCEEDED(call(manager.get(), kSessions, &list)) && list != nullptr) {
    const unique_runtime_object sessions(list);
    UINT32 count = 0;
    if (FAILED(call(list, kVectorSize, &count))) count = 0;
    for (UINT32 i = 0; i < count && i < kMostSessions; ++i) {
      void* session = nullptr;
      if (SUCCEEDED(call(list, kVectorAt, i, &session))) consider(session);
    }
  }
  resolved_ = resolved;
  resolved_count_ = resolved_count;
  return chosen;
}

bool MediaSessions::press_key(MediaRequest key) noexcept {
  const Session session = chosen_session();
  if (!session.object) return false;
  int slot = kTogglePlayPause;
  if (key == MediaRequest::next) slot = kSkipNext;
  if (key == MediaRequest::previous) slot = kSkipPrevious;
  if (key == MediaRequest::stop) slot = kStop;
  void* operation = nullptr;
  return SUCCEEDED(call(session.object.get(), slot, &operation)) && await_boolean(operation);
}

void MediaSessions::read_string(void* object, int slot, Field& field) noexcept {
  HString text = nullptr;
  if (FAILED(call(object, slot, &text))) return;
  UINT32 length = 0;
  const wchar_t* units = string_buffer_(text, &length);
  field.assign(std::wstring_view(units != nullptr ? units : L"", units != nullptr ? length : 0));
  delete_string_(text);
}

void MediaSessions::read_fields(void* session, Reading& reading) noexcept {
  read_string(session, kAppUserModelId, reading.player);
  void* operation = nullptr;
  if (FAILED(call(session, kRequestProperties, &operation))) return;
  const unique_runtime_object properties(await_result(operation));
  if (!properties) return;
  read_string(properties.get(), kTitle, reading.title);
  read_string(properties.get(), kArtist, reading.artist);
  read_string(properties.get(), kAlbum, reading.album);
}

}  // namespace toolcase::media
