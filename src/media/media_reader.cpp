#include "media/media_reader.h"

#include <algorithm>
#include <atomic>
#include <optional>
#include <utility>

#include "host/spin_lock.h"
#include "host/unique_handle.h"
#include "media/media_sessions.h"
#include "window/window_titles.h"

namespace toolcase::media {

namespace {

constexpr DWORD kFreshFor = 2000;
constexpr DWORD kFirstReadingWait = 250;
constexpr DWORD kReadEvery = 1000;
constexpr DWORD kIdleEnd = 60000;
constexpr DWORD kStopWait = 500;
constexpr DWORD kWaitSlice = 10;
constexpr DWORD kKeyAnswerWait = 250;

// Shared with the reader, under the lock, which is held for copies only.
SpinLock reading_lock;
constinit Reading published{};
DWORD published_at = 0;
std::uint32_t published_number = 0;  // 0 until the first reading

// The generation of the reader that is to run, 0 when none is; a reader told
// to stop, or ending idle, finds another number here.
std::atomic<std::uint32_t> live_reader{0};
std::atomic<std::uint32_t> readers_started{0};
std::atomic<DWORD> last_demand{0};
std::atomic<HMODULE> self_module{nullptr};  // the same at every start

// A key for the reader to press on the session: the request's number times
// 16 plus the key, 0 for none, and when it was asked; the answer: the number
// answered times 2 plus whether the session said true. A request is taken by
// the reader or withdrawn by its caller, never both.
std::atomic<std::uint32_t> key_request{0};
std::atomic<DWORD> key_requested_at{0};
std::atomic<std::uint32_t> key_answer{0};
std::atomic<std::uint32_t> keys_asked{0};

// The running reader's thread, for stop_reader to wait on, and its generation.
SpinLock thread_lock;
HANDLE reader_thread = nullptr;
std::uint32_t reader_thread_generation = 0;
// The running reader's wake-up: an event of its own, which a wait inside a
// COM call cannot use up as it can an APC. The reader closes it as it ends,
// after taking it from here under the lock, which every SetEvent holds.
HANDLE reader_wake = nullptr;
std::uint32_t reader_wake_generation = 0;

// The classic player's window: its status message answered within 200 ms,
// or no source (a player that does not answer, or stopped responding).
PlayState read_classic_player(Reading& reading) {
  const HWND window = FindWindowW(L"Winamp v1.x", nullptr);
  constexpr UINT kStatusQuery = 104;
  DWORD_PTR answer = 0;
  if (window == nullptr || !SendMessageTimeoutW(window, WM_USER, 0, kStatusQuery,
                                                SMTO_ABORTIFHUNG, 200, &answer)) {
    return PlayState::none;
  }
  const PlayState state = classic_state(static_cast<long long>(answer));
  window::StoredTitle stored;
  reading.title.assign(classic_title(window::stored_title(window, stored)));
  reading.player.assign(L"Winamp");
  return state;
}

// The session that plays, else the classic player's window if it plays, else
// whichever of the two is paused, the session first.
void read_once(MediaSessions& sessions, Reading& reading) {
  MediaSessions::Session session = sessions.chosen_session();
  Reading classic{};
  const PlayState classic_player =
      session.state == PlayState::playing ? PlayState::none : read_classic_player(classic);
  const PlayState states[] = {session.state, classic_player};
  switch (chosen_source(states)) {
    case 0:
      reading.state = session.state;
      reading.from_session = true;
      if (session.state != PlayState::stopped) sessions.read_fields(session.object.get(), reading);
      break;
    case 1:
      reading = classic;
      reading.state = classic_player;
      break;
    default: reading.state = PlayState::none;
  }
}

void publish(std::uint32_t generation, const Reading& reading) {
  const DWORD now = GetTickCount();
  const SpinLock::Guard guard(reading_lock);
  // A reader told to stop that comes back from a slow call publishes nothing.
  if (live_reader.load() != generation) return;
  published = reading;
  published_at = now;
  if (++published_number == 0) published_number = 1;
}

// Ends the running reader's wait between readings early.
void wake_reader() {
  const SpinLock::Guard guard(thread_lock);
  if (reader_wake != nullptr) SetEvent(reader_wake);
}

// The reader's wake-up, published while it is the reader to run.
class WakeUp {
 public:
  explicit WakeUp(std::uint32_t generation) : generation_(generation), event_(CreateEventW(nullptr, FALSE, FALSE, nullptr)) {
    const SpinLock::Guard guard(thread_lock);
    if (!event_ || !reader_goes_on(generation)) return;
    reader_wake = event_.get();
    reader_wake_generation = generation;
  }
  ~WakeUp() {
    const SpinLock::Guard guard(thread_lock);
    if (reader_wake_generation == generation_ && reader_wake == event_.get()) reader_wake = nullptr;
  }
  WakeUp(const WakeUp&) = delete;
  WakeUp& operator=(const WakeUp&) = delete;

  // Until the next reading is due or the reader is woken; a reader without
  // an event of its own sleeps out its second.
  void wait() const {
    if (event_) {
      WaitForSingleObject(event_.get(), kReadEvery);
    } else {
      Sleep(kReadEvery);
    }
  }

 private:
  std::uint32_t generation_;
  unique_event event_;
};

// Waits for the next reading; false once the reader is to end: told to
// stop (which wakes it), or a minute without a call or a watch.
bool wait_to_read_again(std::uint32_t generation, const WakeUp& wake_up) {
  if (reader_goes_on(generation)) wake_up.wait();
  if (GetTickCount() - last_demand.load() < kIdleEnd) return reader_goes_on(generation);
  std::uint32_t expected = generation;
  live_reader.compare_exchange_strong(expected, 0);
  return false;
}

// The reader ending of its own closes its own handle: nothing else will.
void close_own_handle(std::uint32_t generation) {
  unique_thread own;  // closed once the lock is let go
  const SpinLock::Guard guard(thread_lock);
  if (reader_thread_generation == generation) own.reset(std::exchange(reader_thread, nullptr));
}

// Presses the key asked for, if any, and answers. A request a quarter
// second old has been answered false already, also one left for a reader
// that ended: it is never pressed.
void answer_key_request(MediaSessions& sessions) {
  const std::uint32_t request = key_request.exchange(0);
  if (request == 0 || GetTickCount() - key_requested_at.load() >= kKeyAnswerWait) return;
  const bool pressed = sessions.press_key(static_cast<MediaRequest>(request % 16));
  key_answer.store((request / 16) * 2 + (pressed ? 1 : 0));
}

DWORD WINAPI read_until_told(void* parameter) {
  const auto generation = static_cast<std::uint32_t>(reinterpret_cast<std::uintptr_t>(parameter));
  {
    const WakeUp wake_up(generation);
    MediaSessions sessions(generation);
    do {
      answer_key_request(sessions);
      Reading reading{};
      read_once(sessions, reading);
      publish(generation, reading);
    } while (wait_to_read_again(generation, wake_up));
  }
  close_own_handle(generation);
  FreeLibraryAndExitThread(self_module.load(), 0);
}

// Notes a caller's demand and starts a reader when none runs; true when this
// call started one. The reader holds a reference to the library, so that a
// host that frees it meanwhile leaves its code mapped until the reader leaves.
bool keep_reading() {
  last_demand.store(GetTickCount());
  if (live_reader.load() != 0) return false;
  unique_module_reference reference;
  HMODULE module = nullptr;
  if (!GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS,
                          reinterpret_cast<LPCWSTR>(reinterpret_cast<void*>(&read_until_told)),
                          &module)) {
    return false;
  }
  reference.reset(module);
  std::uint32_t generation = readers_started.fetch_add(1) + 1;
  if (generation == 0) generation = readers_started.fetch_add(1) + 1;
  std::uint32_t none = 0;
  if (!live_reader.compare_exchange_strong(none, generation)) return false;
  self_module.store(module);
  // NOLINTNEXTLINE(performance-no-int-to-ptr): the generation, as the thread's one parameter
  void* parameter = reinterpret_cast<void*>(static_cast<std::uintptr_t>(generation));
  unique_thread thread(CreateThread(nullptr, 0, read_until_told, parameter, 0, nullptr));
  if (!thread) {
    live_reader.compare_exchange_strong(generation, 0);
    return false;
  }
  reference.release();  // the reader's now
  unique_thread replaced;  // an ending reader's, closed once the lock is let go
  const SpinLock::Guard guard(thread_lock);
  replaced.reset(std::exchange(reader_thread, thread.release()));
  reader_thread_generation = generation;
  return true;
}

// The text a reading gives a request other than status and the keys: empty
// when the source gives none; the line is built in answer.
std::wstring_view requested_text(const Reading& reading, MediaRequest request,
                                 WideAnswer& answer) {
  switch (request) {
    case MediaRequest::title: return reading.title.view();
    case MediaRequest::artist: return reading.artist.view();
    case MediaRequest::album: return reading.album.view();
    case MediaRequest::player: return reading.player.view();
    case MediaRequest::line: break;
    default: return {};
  }
  const std::wstring_view title = reading.title.view();
  const std::wstring_view artist = reading.artist.view();
  if (title.empty() || artist.empty()) return title;
  std::size_t size = 0;
  for (const std::wstring_view part : {artist, std::wstring_view(L" - "), title}) {
    size = static_cast<std::size_t>(std::copy(part.begin(), part.end(), answer.begin() + size) -
                                    answer.begin());
  }
  return std::wstring_view(answer.data(), size);
}

// The published reading, when it is under 2 seconds old: its state and
// number, and the requested text copied into answer.
struct Copied {
  PlayState state;
  std::uint32_t number;
};
std::optional<Copied> copy_if_fresh(MediaRequest request, WideAnswer& answer,
                                    std::wstring_view& text) {
  const DWORD now = GetTickCount();
  const SpinLock::Guard guard(reading_lock);
  if (published_number == 0 || now - published_at >= kFreshFor) return std::nullopt;
  const std::wstring_view found = requested_text(published, request, answer);
  // The line is built in answer already; a field is copied there.
  if (found.data() != answer.data()) std::copy(found.begin(), found.end(), answer.begin());
  text = std::wstring_view(answer.data(), found.size());
  return Copied{published.state, published_number};
}

}  // namespace

void Field::assign(std::wstring_view text) noexcept {
  std::size_t size = std::min(text.size(), units_.size());
  if (size < text.size() && IS_HIGH_SURROGATE(text[size - 1])) --size;
  std::copy_n(text.begin(), size, units_.begin());
  size_ = size;
  blank_line_breaks(std::span<wchar_t>(units_.data(), size_));
}

bool reader_goes_on(std::uint32_t generation) noexcept { return live_reader.load() == generation; }

PlayState recent_reading(MediaRequest request, WideAnswer& answer, std::wstring_view& text,
                         bool may_wait) noexcept {
  // Only a reader started now is waited for: one that runs but has no recent
  // reading is inside a slow call, and would keep every call waiting. The
  // wait is measured by the clock: with Windows' default timer a Sleep slice
  // lasts a whole tick of about 15.6 ms.
  const bool started = keep_reading();
  const DWORD start = GetTickCount();
  for (;;) {
    if (const auto copied = copy_if_fresh(request, answer, text)) return copied->state;
    const DWORD waited = GetTickCount() - start;
    if (!started || !may_wait || waited >= kFirstReadingWait) return PlayState::none;
    Sleep(std::min(kWaitSlice, kFirstReadingWait - waited));
  }
}

bool latest_reading(std::uint32_t& number, PlayState& state, WideAnswer& line,
                    std::wstring_view& text) noexcept {
  keep_reading();
  const auto copied = copy_if_fresh(MediaRequest::line, line, text);
  if (!copied) return false;
  number = copied->number;
  state = copied->state;
  return true;
}

std::optional<bool> press_session_key(MediaRequest key) noexcept {
  {
    const DWORD now = GetTickCount();
    const SpinLock::Guard guard(reading_lock);
    if (published_number == 0 || now - published_at >= kFreshFor || !published.from_session) return std::nullopt;
  }
  keep_reading();
  static_assert(static_cast<std::uint32_t>(MediaRequest::stop) < 16);
  // Request and answer fit 32 bits; never 0, which is no request.
  const std::uint32_t number = keys_asked.fetch_add(1) % 0x0FFFFFFF + 1;
  const std::uint32_t request = number * 16 + static_cast<std::uint32_t>(key);
  const DWORD start = GetTickCount();
  key_requested_at.store(start);
  key_request.store(request);
  wake_reader();
  for (;;) {
    if (const std::uint32_t answer = key_answer.load(); answer / 2 == number) return answer % 2 != 0;
    const DWORD waited = GetTickCount() - start;
    if (waited >= kKeyAnswerWait) break;
    Sleep(std::min(kWaitSlice, kKeyAnswerWait - waited));
  }
  // Withdrawn, unless the reader has taken it: then it is being pressed now,
  // and its answer may just have come.
  std::uint32_t pending = request;
  if (!key_request.compare_exchange_strong(pending, 0)) {
    if (const std::uint32_t answer = key_answer.load(); answer / 2 == number) return answer % 2 != 0;
  }
  return false;
}

void stop_reader() noexcept {
  live_reader.store(0);
  unique_thread thread;
  {
    const SpinLock::Guard guard(thread_lock);
    thread.reset(std::exchange(reader_thread, nullptr));
  }
  if (!thread) return;
  wake_reader();
  WaitForSingleObject(thread.get(), kStopWait);
}

}  // namespace toolcase::media
