// Foreground: the window in front and the program it stands for.
#include <array>
#include <string_view>

#include "host/command.h"
#include "host/text.h"
#include "host/wide_text.h"
#include "process/process_list.h"
#include "window/window_process.h"
#include "window/window_target.h"
#include "window/window_titles.h"

using namespace toolcase;

namespace {

enum class ForegroundFact { title, window_class, handle, process_id, exe, path };

constexpr std::array<text::Keyword<ForegroundFact>, 7> kFacts{{
    {"", ForegroundFact::title},
    {"title", ForegroundFact::title},
    {"class", ForegroundFact::window_class},
    {"hwnd", ForegroundFact::handle},
    {"pid", ForegroundFact::process_id},
    {"exe", ForegroundFact::exe},
    {"path", ForegroundFact::path},
}};

Text foreground_fact(const window::FrontWindow& in_front, ForegroundFact fact, TextEncoding encoding) {
  const HWND front = in_front.window;
  switch (fact) {
    // The stored title, as WindowFind reads titles: a message could wait on
    // a program that is not responding.
    case ForegroundFact::title: {
      window::StoredTitle stored;
      const std::wstring_view title = window::stored_title(front, stored);
      if (title.empty()) return Text(kFalse);
      window::Title kept;
      window::keep_title(kept, title);
      return text_in_encoding(kept.data(), encoding, window::kTitleMaxUnits);
    }
    case ForegroundFact::window_class: {
      std::array<wchar_t, 257> class_name{};
      if (GetClassNameW(front, class_name.data(), static_cast<int>(class_name.size())) == 0) {
        return Text(kFalse);
      }
      return text_in_encoding(class_name.data(), encoding);
    }
    case ForegroundFact::handle:
      return Text(text::id_to_text(window::handle_number(front)));
    default:
      break;
  }
  const DWORD process_id = in_front.program_known ? window::window_process_id(front) : 0;
  if (process_id == 0) return Text(kFalse);
  Text answer;
  if (fact == ForegroundFact::process_id) return Text(text::id_to_text(process_id));
  if (fact == ForegroundFact::exe) {
    return process::is_running(process_id, encoding, &answer) ? answer : Text(kFalse);
  }
  return process::image_path(process_id, encoding, answer) ? answer : Text(kFalse);
}

}  // namespace

// "" or "title", "class", "hwnd", "pid", "exe", "path"; "false" when no
// window is in front (the lock screen, a prompt on the secure desktop, the
// moment between two windows). A hung window's stand-in answers for the
// window it covers.
TOOLCASE_COMMAND(Foreground) {
  return run_text_command(data, main_window, [](const Text& input, TextEncoding encoding) {
    const std::optional<ForegroundFact> fact = text::look_up(kFacts, input);
    if (!fact) return Text(kError);
    const window::FrontWindow front = window::window_in_front();
    if (front.window == nullptr) return Text(kFalse);
    return foreground_fact(front, *fact, encoding);
  });
}
