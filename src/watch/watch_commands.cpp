// Watch, WatchNext, WatchStop and UnloadDll: the library tells a script when
// something happens. A thread timer on the host's thread reads what the
// watches need about once a second, queues what changed, and rings the host
// with one fixed command that raises the script's signal event; the script
// reads the queue with WatchNext.
//
// A timer left in a DLL that the host freed would call into freed memory:
// while any watch runs, the library holds a reference to itself, so that a
// host that frees it without UnloadDll leaves it loaded and ticking.
#include <utility>

#include "host/command.h"
#include "host/unique_handle.h"
#include "host/wide_text.h"
#include "media/media_reader.h"
#include "watch/doorbell.h"
#include "watch/watch_list.h"

using namespace toolcase;
using namespace toolcase::watch;

namespace {

constexpr UINT kTickInterval = 1000;
// A script that was unloaded, stopped by an error or switched off reads
// nothing: a ring still outstanding then is sent again.
constexpr DWORD kRingAgainAfter = 60000;

constinit EventQueue events;
Doorbell doorbell;
HWND host = nullptr;  // the main window the running watches ring
UINT_PTR timer = 0;
HMODULE self_reference = nullptr;

// The tick's own state: once a ring's SendMessage returns, the tick touches
// nothing else (the script it ran may have stopped every watch).
struct TickGuard {
  bool running;
  bool ring_outstanding;  // until the next WatchNext
  DWORD ring_sent;
};
TickGuard tick_guard{};

// The timer, the reference and the mapping, given back once no watch runs;
// inside a tick the reference and the mapping stay until the next export
// call or an UnloadDll outside any tick, as the tick still runs here.
void give_back_if_done() {
  if (any_watch_running()) return;
  if (timer != 0) KillTimer(nullptr, std::exchange(timer, 0));
  host = nullptr;
  tick_guard.ring_outstanding = false;
  if (tick_guard.running) return;
  doorbell.close();
  const unique_module_reference reference(std::exchange(self_reference, nullptr));
}

// Never inside itself: Windows delivers a timer inside a message box's loop,
// or inside the script that a ring runs.
void CALLBACK tick(HWND, UINT, UINT_PTR, DWORD) {
  if (tick_guard.running) return;
  tick_guard.running = true;
  if (!IsWindow(host)) {
    stop_every_watch();
    give_back_if_done();
  } else {
    read_sources(events);
    const DWORD now = GetTickCount();
    if (!events.empty() &&
        (!tick_guard.ring_outstanding || now - tick_guard.ring_sent >= kRingAgainAfter)) {
      tick_guard.ring_outstanding = true;
      tick_guard.ring_sent = now;
      if (!doorbell.ring(host)) tick_guard.ring_outstanding = false;
    }
  }
  tick_guard.running = false;
}

// The first watch of a set: a mapping the host can read, the host's word that
// it runs commands sent to it, the reference and the timer.
bool start_set(HWND main_window) {
  if (!doorbell.open() || !doorbell.host_takes_commands(main_window)) return false;
  if (self_reference == nullptr &&
      !GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS,
                          reinterpret_cast<LPCWSTR>(reinterpret_cast<void*>(&tick)), &self_reference)) {
    return false;
  }
  timer = SetTimer(nullptr, 0, kTickInterval, tick);
  host = main_window;
  return timer != 0;
}

// The queue and the timer belong to the host's thread; $dllcall calls on
// another, whose timer would die with it.
bool on_host_thread(HWND main_window) {
  return main_window != nullptr &&
         GetWindowThreadProcessId(main_window, nullptr) == GetCurrentThreadId();
}

}  // namespace

// "name;idle SECONDS", "name;window PATTERN", "name;process NAME",
// "name;media"; "" lists them.
TOOLCASE_COMMAND(Watch) {
  return run_text_command(data, main_window, [main_window](const Text& input, TextEncoding encoding) {
    if (!on_host_thread(main_window)) return Text(kError);
    give_back_if_done();
    const WatchRequest request = parse_watch_request(input);
    if (request.kind == WatchRequest::Kind::list) return running_watch_names();
    if (request.kind == WatchRequest::Kind::invalid) return Text(kError);
    if (!any_watch_running()) {
      if (!start_set(main_window)) {
        give_back_if_done();
        return Text(kFalse);
      }
    } else if (main_window != host) {
      return Text(kError);
    }
    const bool started = start_watch(request, encoding);
    give_back_if_done();
    return Text(started ? kTrue : kError);
  });
}

// The oldest event line, taken off the queue; "" when there is none.
TOOLCASE_COMMAND(WatchNext) {
  return run_text_command(data, main_window, [main_window](const Text&, TextEncoding encoding) {
    if (!on_host_thread(main_window)) return Text(kError);
    tick_guard.ring_outstanding = false;
    give_back_if_done();
    const std::optional<EventQueue::Line> line = events.pop();
    if (!line) return Text();
    if (encoding == TextEncoding::utf8) return Text(*line);
    return text_in_encoding(WideText(*line).c_str(), encoding);
  });
}

// "name" stops that watch, "" every one; queued events stay to be read.
TOOLCASE_COMMAND(WatchStop) {
  return run_text_command(data, main_window, [main_window](const Text& input, TextEncoding) {
    if (!on_host_thread(main_window)) return kError;
    const bool stopped = input.empty() || stop_watch(input);
    if (input.empty()) stop_every_watch();
    give_back_if_done();
    return stopped ? kTrue : kError;
  });
}

// mIRC's own signature: 1 is its unload of a DLL idle for ten minutes, which
// the running watches refuse; 0 (/dll -u) and 2 (mIRC exits) stop them.
// Agreed to, it stops the media reader too.
extern "C" int __stdcall UnloadDll(int timeout) noexcept {
  constexpr int kIdleUnload = 1;
  if (timeout == kIdleUnload && any_watch_running()) return 0;
  if (timeout != kIdleUnload) {
    stop_every_watch();
    events.clear();
  }
  give_back_if_done();
  media::stop_reader();
  return 1;
}

// mIRC's own signature, called when it loads the library, before any command.
// A /dll -u run from an event handler stops the watches inside a tick, which
// keeps the library's reference until the tick has returned: given back here,
// at the next load. The structure stays as mIRC filled it (the library is
// kept loaded, as by default).
struct LoadInfo;
extern "C" void __stdcall LoadDll(LoadInfo*) noexcept { give_back_if_done(); }
