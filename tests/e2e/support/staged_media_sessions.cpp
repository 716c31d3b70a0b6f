#include <initguid.h>

#include "staged_media_sessions.h"

#include <asyncinfo.h>
#include <hstring.h>
#include <inspectable.h>

#include <atomic>
#include <mutex>
#include <set>
#include <utility>

namespace toolcase::e2e {

namespace {

std::mutex lock;
MediaStage stage;
std::set<HSTRING> strings;
std::vector<std::pair<std::wstring, int>> keys;
std::atomic<int> objects, initializations, cancels, misuses;

MediaStage staged() {
  const std::lock_guard guard(lock);
  return stage;
}

HSTRING new_string(const std::wstring& text) {
  const auto string = reinterpret_cast<HSTRING>(new std::wstring(text));
  const std::lock_guard guard(lock);
  strings.insert(string);
  return string;
}

template <typename Self, typename Interface>
struct Counted : Interface {
  std::atomic<ULONG> references{1};
  Counted() { ++objects; }
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID, void** out) override { return *out = nullptr, E_NOINTERFACE; }
  ULONG STDMETHODCALLTYPE AddRef() override { return ++references; }
  ULONG STDMETHODCALLTYPE Release() override {
    const ULONG left = --references;
    if (left == 0) --objects, delete static_cast<Self*>(this);
    return left;
  }
  HRESULT STDMETHODCALLTYPE GetIids(ULONG*, IID**) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetRuntimeClassName(HSTRING*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetTrustLevel(TrustLevel*) override { return E_NOTIMPL; }
};

// Slots 6 to 20 as the library calls them, each with one out-argument: the
// factory's 6 RequestAsync; the manager's 6 GetCurrentSession, 7 GetSessions;
// a session's 6 application, 7 TryGetMediaPropertiesAsync, 9 GetPlaybackInfo,
// and its keys 12 TryStopAsync, 16 TrySkipNextAsync, 17 TrySkipPreviousAsync,
// 20 TryTogglePlayPauseAsync; its playback's 7 status; its properties' 6
// title, 9 artist, 10 album; an operation's 8 GetResults.
struct OutSlots : IInspectable {
  virtual HRESULT STDMETHODCALLTYPE slot6(void** out) = 0;
  virtual HRESULT STDMETHODCALLTYPE slot7(void** out) = 0;
  virtual HRESULT STDMETHODCALLTYPE slot8(void** out) = 0;
  virtual HRESULT STDMETHODCALLTYPE slot9(void** out) = 0;
  virtual HRESULT STDMETHODCALLTYPE slot10(void** out) = 0;
  virtual HRESULT STDMETHODCALLTYPE slot11(void** out) = 0;
  virtual HRESULT STDMETHODCALLTYPE slot12(void** out) = 0;
  virtual HRESULT STDMETHODCALLTYPE slot13(void** out) = 0;
  virtual HRESULT STDMETHODCALLTYPE slot14(void** out) = 0;
  virtual HRESULT STDMETHODCALLTYPE slot15(void** out) = 0;
  virtual HRESULT STDMETHODCALLTYPE slot16(void** out) = 0;
  virtual HRESULT STDMETHODCALLTYPE slot17(void** out) = 0;
  virtual HRESULT STDMETHODCALLTYPE slot18(void** out) = 0;
  virtual HRESULT STDMETHODCALLTYPE slot19(void** out) = 0;
  virtual HRESULT STDMETHODCALLTYPE slot20(void** out) = 0;
};

struct Object final : Counted<Object, OutSlots> {
  enum Kind { factory, manager, session, playback, properties, operation } kind;
  StagedSession data{};
  IInspectable* result = nullptr;  // an operation's; none for a key's, whose result is a boolean
  bool answer = false;             // a key's operation's
  int status = 1;                  // an operation's
  explicit Object(Kind k, const StagedSession& d = {}) : kind(k), data(d) {}
  ~Object() { if (result) result->Release(); }
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override;
  static HRESULT give(void** out, IInspectable* object) { return *out = object, S_OK; }
  static HRESULT give(void** out, const std::wstring& text) { return *out = new_string(text), S_OK; }
  static HRESULT give_operation(void** out, IInspectable* result, int status) {
    auto* op = new Object(operation);
    op->result = result, op->status = status;
    return give(out, op);
  }
  HRESULT STDMETHODCALLTYPE slot6(void** out) override;
  HRESULT STDMETHODCALLTYPE slot7(void** out) override;
  HRESULT STDMETHODCALLTYPE slot8(void** out) override {
    if (kind != operation || status != Completed) return ++misuses, E_FAIL;
    if (result == nullptr) return *reinterpret_cast<unsigned char*>(out) = answer, S_OK;
    return result->AddRef(), give(out, result);
  }
  HRESULT STDMETHODCALLTYPE slot9(void** out) override {
    return kind == session ? give(out, new Object(playback, data)) : give(out, data.artist);
  }
  HRESULT STDMETHODCALLTYPE slot10(void** out) override { return give(out, data.album); }
  // A media key: recorded, and answered as staged.
  HRESULT key(int slot, void** out) {
    if (kind != session) return E_NOTIMPL;
    const MediaStage now = staged();
    {
      const std::lock_guard guard(lock);
      keys.emplace_back(data.player, slot);
    }
    auto* op = new Object(operation);
    op->answer = now.key_answer, op->status = now.key_status;
    return give(out, op);
  }
  HRESULT STDMETHODCALLTYPE slot11(void**) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE slot12(void** out) override { return key(12, out); }
  HRESULT STDMETHODCALLTYPE slot13(void**) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE slot14(void**) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE slot15(void**) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE slot16(void** out) override { return key(16, out); }
  HRESULT STDMETHODCALLTYPE slot17(void** out) override { return key(17, out); }
  HRESULT STDMETHODCALLTYPE slot18(void**) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE slot19(void**) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE slot20(void** out) override { return key(20, out); }
};

struct Vector final : Counted<Vector, IInspectable> {
  std::vector<StagedSession> sessions;
  virtual HRESULT STDMETHODCALLTYPE GetAt(UINT32 i, void** out) { return Object::give(out, new Object(Object::session, sessions.at(i))); }
  virtual HRESULT STDMETHODCALLTYPE get_Size(UINT32* size) { return *size = sessions.size(), S_OK; }
};

HRESULT Object::slot6(void** out) {
  switch (kind) {
    case factory: return give_operation(out, new Object(manager), staged().manager_status);
    case manager: {
      const std::optional<StagedSession> current = staged().current;
      return give(out, current ? new Object(session, *current) : nullptr);
    }
    case session: return give(out, data.player);
    default: return give(out, data.title);
  }
}

HRESULT Object::slot7(void** out) {
  if (kind == session) return give_operation(out, new Object(properties, data), Completed);
  if (kind == playback) return *reinterpret_cast<int*>(out) = data.status, S_OK;
  auto* list = new Vector;
  list->sessions = staged().others;
  return give(out, list);
}

struct Info final : Counted<Info, IAsyncInfo> {
  Object* operation;
  explicit Info(Object* op) : operation(op) { op->AddRef(); }
  ~Info() { operation->Release(); }
  HRESULT STDMETHODCALLTYPE get_Id(UINT32* id) override { return *id = 1, S_OK; }
  HRESULT STDMETHODCALLTYPE get_Status(AsyncStatus* status) override {
    if (operation->result != nullptr && static_cast<Object*>(operation->result)->kind == Object::manager) {
      Sleep(staged().status_sleep);
    }
    return *status = static_cast<AsyncStatus>(operation->status), S_OK;
  }
  HRESULT STDMETHODCALLTYPE get_ErrorCode(HRESULT* code) override { return *code = E_FAIL, S_OK; }
  HRESULT STDMETHODCALLTYPE Cancel() override { return ++cancels, operation->status = Canceled, S_OK; }
  HRESULT STDMETHODCALLTYPE Close() override { return ++misuses, S_OK; }
};

HRESULT Object::QueryInterface(REFIID iid, void** out) {
  if (kind != operation || iid != IID_IAsyncInfo) return *out = nullptr, E_NOINTERFACE;
  return give(out, new Info(this));
}

HRESULT WINAPI initialize(int) { return ++initializations, S_OK; }
void WINAPI uninitialize() { --initializations; }
HRESULT WINAPI reference(const wchar_t* text, UINT32 length, HSTRING_HEADER* header, HSTRING* out) {
  *reinterpret_cast<std::wstring_view*>(header) = std::wstring_view(text, length);
  return *out = reinterpret_cast<HSTRING>(header), S_OK;
}
const wchar_t* WINAPI buffer(HSTRING string, UINT32* length) {
  bool created;
  {
    const std::lock_guard guard(lock);
    created = strings.count(string) != 0;
  }
  const std::wstring_view text = created ? *reinterpret_cast<std::wstring*>(string)
                                         : *reinterpret_cast<std::wstring_view*>(string);
  return *length = text.size(), text.data();
}
HRESULT WINAPI delete_string(HSTRING string) {
  const std::lock_guard guard(lock);
  if (strings.erase(string) != 0) delete reinterpret_cast<std::wstring*>(string);
  return S_OK;
}
HRESULT WINAPI activation_factory(HSTRING name, REFIID, void** out) {
  UINT32 length = 0;
  const wchar_t* units = buffer(name, &length);
  const std::wstring_view asked(units, length);
  if (FAILED(staged().factory) || asked != L"Windows.Media.Control.GlobalSystemMediaTransportControlsSessionManager") {
    return *out = nullptr, REGDB_E_CLASSNOTREG;
  }
  return Object::give(out, new Object(Object::factory));
}

}  // namespace

StagedMediaSessions::StagedMediaSessions(HMODULE copy, const MediaStage& staged)
    : lookup_(copy, {{"RoInitialize", as_farproc(&initialize)}, {"RoUninitialize", as_farproc(&uninitialize)},
                     {"RoGetActivationFactory", as_farproc(&activation_factory)},
                     {"WindowsCreateStringReference", as_farproc(&reference)},
                     {"WindowsGetStringRawBuffer", as_farproc(&buffer)},
                     {"WindowsDeleteString", as_farproc(&delete_string)}}) {
  set(staged);
}

void StagedMediaSessions::set(const MediaStage& staged) {
  const std::lock_guard guard(lock);
  stage = staged;
}

std::vector<std::pair<std::wstring, int>> StagedMediaSessions::keys_pressed() {
  const std::lock_guard guard(lock);
  return std::exchange(keys, {});
}

MediaCounts StagedMediaSessions::counts() {
  const std::lock_guard guard(lock);
  return {objects.load(), static_cast<int>(strings.size()), initializations.load(), cancels.load(), misuses.load()};
}

}  // namespace toolcase::e2e
